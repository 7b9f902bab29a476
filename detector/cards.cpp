// SPDX-License-Identifier: GPL-3.0-or-later
#include "detector/cards.h"

#include <new>

#include "detector/about_form.h"
#include "detector/sound_probe.h"
#include "platform/com/ptr.h"
#include "platform/com/server.h"

namespace echodet {

// ---- ConnectionPoint ------------------------------------------------------------

ConnectionPoint::~ConnectionPoint() {
  for (auto& [cookie, sink] : sinks_) sink->Release();
}

HRESULT ConnectionPoint::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
    *ppv = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

ULONG ConnectionPoint::AddRef() { return owner_.AddRef(); }
ULONG ConnectionPoint::Release() { return owner_.Release(); }

HRESULT ConnectionPoint::GetConnectionInterface(IID* pIID) {
  if (!pIID) return E_POINTER;
  *pIID = iid_;
  return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** ppCPC) {
  if (!ppCPC) return E_POINTER;
  *ppCPC = &owner_;
  owner_.AddRef();
  return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* pUnkSink, DWORD* pdwCookie) {
  if (!pdwCookie) return E_POINTER;
  *pdwCookie = 0;
  if (!pUnkSink) return E_POINTER;
  // Keep the sink as the interface this point calls, so calls need no lookup and
  // a sink that cannot take them is refused now rather than failing later.
  void* sink = nullptr;
  if (FAILED(pUnkSink->QueryInterface(iid_, &sink)) || !sink) return CONNECT_E_CANNOTCONNECT;
  if (nextCookie_ == 0) {  // 2^32 connections later: refuse rather than reuse a cookie
    static_cast<IUnknown*>(sink)->Release();
    return CONNECT_E_ADVISELIMIT;
  }
  try {
    sinks_.emplace_back(nextCookie_, static_cast<IUnknown*>(sink));
  } catch (const std::bad_alloc&) {
    static_cast<IUnknown*>(sink)->Release();
    return E_OUTOFMEMORY;
  }
  *pdwCookie = nextCookie_++;
  return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD dwCookie) {
  for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
    if (it->first == dwCookie) {
      IUnknown* sink = it->second;
      sinks_.erase(it);
      sink->Release();  // last: the sink's Release may call back into us
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** ppEnum) {
  if (ppEnum) *ppEnum = nullptr;
  return E_NOTIMPL;
}

std::vector<IUnknown*> ConnectionPoint::sinks() const {
  std::vector<IUnknown*> out;
  out.reserve(sinks_.size());
  for (const auto& [cookie, sink] : sinks_) {
    sink->AddRef();
    out.push_back(sink);
  }
  return out;
}

// ---- Cards: lifetime ------------------------------------------------------------

Cards::Cards() { com::server::objectCreated(); }
Cards::~Cards() { com::server::objectDestroyed(); }

HRESULT Cards::create(REFIID iid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  auto* cards = new (std::nothrow) Cards;
  if (!cards) return E_OUTOFMEMORY;
  cards->AddRef();
  const HRESULT hr = cards->QueryInterface(iid, ppv);
  cards->Release();  // destroys the object again if iid was refused
  return hr;
}

HRESULT Cards::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_Cards)
    *ppv = static_cast<ICards*>(this);
  else if (riid == IID_IConnectionPointContainer)
    *ppv = static_cast<IConnectionPointContainer*>(this);
  else {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG Cards::AddRef() { return ++refs_; }

ULONG Cards::Release() {
  const ULONG n = --refs_;
  if (n == 0) delete this;
  return n;
}

// ---- Cards: _Cards ----------------------------------------------------------------

HRESULT Cards::put_CardValue(VARIANT_BOOL value) {
  // Any nonzero value is true; stored as the canonical -1 so that a host doing
  // bitwise Not on it gets false, not -2.
  cardValue_ = value ? VARIANT_TRUE : VARIANT_FALSE;
  try {
    notifyChanged(kDispidCardValue);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;  // stored, but the host could not be told
  }
  return S_OK;
}

HRESULT Cards::get_CardValue(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  *value = cardValue_;
  return S_OK;
}

HRESULT Cards::Go() {
  cardValue_ = soundCardCount() > 0 ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT Cards::About() {
  // The modal loop runs host code; if the host lets go of us meanwhile, we must
  // still be here when the box closes.
  com::Ptr<ICards> self(this);
  return showAboutBox();
}

void Cards::notifyChanged(DISPID dispid) {
  com::Ptr<ICards> self(this);  // a sink may release the host's last reference
  for (IUnknown* sink : propertyNotify_.sinks()) {
    static_cast<IPropertyNotifySink*>(sink)->OnChanged(dispid);
    sink->Release();
  }
}

// ---- Cards: IConnectionPointContainer --------------------------------------------

HRESULT Cards::EnumConnectionPoints(IEnumConnectionPoints** ppEnum) {
  if (ppEnum) *ppEnum = nullptr;
  return E_NOTIMPL;
}

HRESULT Cards::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
  if (!ppCP) return E_POINTER;
  *ppCP = nullptr;
  ConnectionPoint* point = riid == propertyNotify_.iid() ? &propertyNotify_
                           : riid == events_.iid()       ? &events_
                                                         : nullptr;
  if (!point) return CONNECT_E_NOCONNECTION;
  point->AddRef();
  *ppCP = point;
  return S_OK;
}

}  // namespace echodet
