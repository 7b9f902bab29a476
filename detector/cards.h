// SPDX-License-Identifier: GPL-3.0-or-later
// Cards: the control object. It answers one question for its host (is there a
// sound card?) through the dual interface _Cards, and tells the host's
// property-changed sinks when CardValue is written.
#pragma once

#include <atomic>
#include <utility>
#include <vector>

#include "detector/echodet.h"
#include "platform/com/interfaces.h"

namespace echodet {

class Cards;

// One outgoing interface of a Cards object. It lives inside its object and shares
// its reference count, so a host holding a connection point keeps the object alive.
class ConnectionPoint final : public IConnectionPoint {
 public:
  ConnectionPoint(Cards& owner, REFIID iid) : owner_(owner), iid_(iid) {}
  ConnectionPoint(const ConnectionPoint&) = delete;
  ConnectionPoint& operator=(const ConnectionPoint&) = delete;
  ~ConnectionPoint();

  HRESULT QueryInterface(REFIID riid, void** ppv) override;
  ULONG AddRef() override;
  ULONG Release() override;

  HRESULT GetConnectionInterface(IID* pIID) override;
  HRESULT GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override;
  HRESULT Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override;
  HRESULT Unadvise(DWORD dwCookie) override;
  HRESULT EnumConnections(IEnumConnections** ppEnum) override;

  REFIID iid() const { return iid_; }
  // The connected sinks, each with a reference of the caller's: a sink may
  // disconnect itself (or others) while it is being called.
  std::vector<IUnknown*> sinks() const;

 private:
  Cards& owner_;
  const IID iid_;
  std::vector<std::pair<DWORD, IUnknown*>> sinks_;  // cookie, sink as asked for iid_
  DWORD nextCookie_ = 1;                            // 0 is never a valid cookie
};

class Cards final : public ICards, public IConnectionPointContainer {
 public:
  // Creates an object and asks it for iid; the only way to make one.
  static HRESULT create(REFIID iid, void** ppv);

  // IUnknown
  HRESULT QueryInterface(REFIID riid, void** ppv) override;
  ULONG AddRef() override;
  ULONG Release() override;

  // IDispatch
  HRESULT GetTypeInfoCount(UINT* pctinfo) override;
  HRESULT GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                        DISPID* rgDispId) override;
  HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                 VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

  // _Cards
  HRESULT put_CardValue(VARIANT_BOOL value) override;
  HRESULT get_CardValue(VARIANT_BOOL* value) override;
  HRESULT Go() override;
  HRESULT About() override;

  // IConnectionPointContainer
  HRESULT EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override;
  HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

 private:
  Cards();
  ~Cards();
  Cards(const Cards&) = delete;
  Cards& operator=(const Cards&) = delete;

  void notifyChanged(DISPID dispid);

  std::atomic<ULONG> refs_{0};
  VARIANT_BOOL cardValue_ = VARIANT_FALSE;
  ConnectionPoint propertyNotify_{*this, IID_IPropertyNotifySink};
  ConnectionPoint events_{*this, DIID_CardsEvents};  // __Cards: nothing is ever raised
};

}  // namespace echodet
