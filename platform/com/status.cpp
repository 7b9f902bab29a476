// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/com/status.h"

#include <cstdio>

namespace com {

namespace {

const char* meaning(HRESULT hr) {
  switch (hr) {
    case S_OK:
      return "success";
    case S_FALSE:
      return "success, false";
    case E_NOTIMPL:
      return "not implemented";
    case E_NOINTERFACE:
      return "interface not supported";
    case E_POINTER:
      return "null pointer";
    case E_ABORT:
      return "aborted";
    case E_FAIL:
      return "unspecified failure";
    case E_UNEXPECTED:
      return "unexpected failure";
    case E_ACCESSDENIED:
      return "access denied";
    case E_OUTOFMEMORY:
      return "out of memory";
    case E_INVALIDARG:
      return "invalid argument";
    case RPC_E_WRONG_THREAD:
      return "called from the wrong thread";
    case CLASS_E_NOAGGREGATION:
      return "class does not support aggregation";
    case CLASS_E_CLASSNOTAVAILABLE:
      return "class not available from this library";
    case REGDB_E_CLASSNOTREG:
      return "class not registered";
    case CO_E_CLASSSTRING:
      return "invalid class string";
    case CO_E_DLLNOTFOUND:
      return "library not found or not loadable";
    case CO_E_ERRORINDLL:
      return "library lacks a required entry point";
    // SELFREG_E_TYPELIB and SELFREG_E_CLASS share their values with
    // CONNECT_E_NOCONNECTION and CONNECT_E_ADVISELIMIT (interface-specific codes).
    case SELFREG_E_TYPELIB:
      return "type library registration failed, or no such connection";
    case SELFREG_E_CLASS:
      return "class registration failed, or too many connections";
    case CONNECT_E_CANNOTCONNECT:
      return "sink does not support the interface";
    case DISP_E_UNKNOWNINTERFACE:
      return "unknown interface";
    case DISP_E_MEMBERNOTFOUND:
      return "member not found";
    case DISP_E_PARAMNOTFOUND:
      return "parameter not found";
    case DISP_E_TYPEMISMATCH:
      return "type mismatch";
    case DISP_E_UNKNOWNNAME:
      return "unknown name";
    case DISP_E_NONAMEDARGS:
      return "named arguments not supported";
    case DISP_E_BADVARTYPE:
      return "bad variant type";
    case DISP_E_EXCEPTION:
      return "exception occurred";
    case DISP_E_OVERFLOW:
      return "out of present range";
    case DISP_E_BADINDEX:
      return "invalid index";
    case DISP_E_BADPARAMCOUNT:
      return "wrong number of parameters";
    case DISP_E_PARAMNOTOPTIONAL:
      return "parameter not optional";
    default:
      return nullptr;
  }
}

}  // namespace

std::string describe(HRESULT hr) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(hr));
  std::string s = buf;
  if (const char* m = meaning(hr)) {
    s += " (";
    s += m;
    s += ')';
  }
  return s;
}

}  // namespace com
