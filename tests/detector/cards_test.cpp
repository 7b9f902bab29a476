// SPDX-License-Identifier: GPL-3.0-or-later
// The control in process, through the C++ interface declarations: property-changed
// notification to the host's sinks, and the card count's guard against a broken
// sound library.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "detector/echodet.h"
#include "detector/sound_probe.h"
#include "platform/com/interfaces.h"
#include "platform/com/ptr.h"
#include "tests/detector/library.h"

namespace {

using echodet::ICards;

using DllGetClassObjectFn = HRESULT (*)(REFCLSID, REFIID, void**);
using DllCanUnloadNowFn = HRESULT (*)();

void* library() {
  static void* lib = testing_library::open(ECHODET_LIBRARY);
  return lib;
}

com::Ptr<ICards> createCards() {
  auto getClassObject = reinterpret_cast<DllGetClassObjectFn>(
      testing_library::entryPoint(library(), "DllGetClassObject"));
  com::Ptr<IClassFactory> factory;
  com::Ptr<ICards> cards;
  if (getClassObject &&
      SUCCEEDED(getClassObject(echodet::CLSID_Cards, IID_IClassFactory, factory.putVoid())))
    factory->CreateInstance(nullptr, echodet::IID_Cards, cards.putVoid());
  return cards;
}

// A host's sink: counts what it hears, and can be told to do awkward things while
// it is being called.
class Sink final : public IPropertyNotifySink {
 public:
  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IPropertyNotifySink) {
      *ppv = static_cast<IPropertyNotifySink*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override { return --refs; }  // lives on the test's stack
  HRESULT OnChanged(DISPID id) override {
    changed.push_back(id);
    if (onChanged) onChanged();
    return S_OK;
  }
  HRESULT OnRequestEdit(DISPID) override { return S_OK; }

  ULONG refs = 1;
  std::vector<DISPID> changed;
  std::function<void()> onChanged;
};

// An object that is no property sink at all.
class Stranger final : public IUnknown {
 public:
  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    *ppv = riid == IID_IUnknown ? this : nullptr;
    return *ppv ? S_OK : E_NOINTERFACE;
  }
  ULONG AddRef() override { return 2; }
  ULONG Release() override { return 1; }
};

com::Ptr<IConnectionPoint> propertyPoint(const com::Ptr<ICards>& cards) {
  com::Ptr<IConnectionPointContainer> container;
  com::Ptr<IConnectionPoint> point;
  if (SUCCEEDED(cards.queryInterface(IID_IConnectionPointContainer, container)))
    container->FindConnectionPoint(IID_IPropertyNotifySink, point.put());
  return point;
}

TEST(CardsNotification, EveryWriteOfCardValueReachesTheConnectedSinks) {
  com::Ptr<ICards> cards = createCards();
  ASSERT_TRUE(cards);
  com::Ptr<IConnectionPoint> point = propertyPoint(cards);
  ASSERT_TRUE(point);
  IID iid{};
  ASSERT_EQ(point->GetConnectionInterface(&iid), S_OK);
  EXPECT_EQ(iid, IID_IPropertyNotifySink);

  Sink first, second;
  DWORD firstCookie = 0, secondCookie = 0;
  ASSERT_EQ(point->Advise(&first, &firstCookie), S_OK);
  ASSERT_EQ(point->Advise(&second, &secondCookie), S_OK);
  EXPECT_NE(firstCookie, secondCookie);

  ASSERT_EQ(cards->put_CardValue(VARIANT_TRUE), S_OK);
  VARIANT value{};
  value.vt = VT_BOOL;
  value.boolVal = VARIANT_FALSE;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &named, 1, 1};
  ASSERT_EQ(cards->Invoke(echodet::kDispidCardValue, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params,
                          nullptr, nullptr, nullptr),
            S_OK);
  ASSERT_EQ(cards->Go(), S_OK);  // a probe is not a write: nobody is told
  const std::vector<DISPID> twice{echodet::kDispidCardValue, echodet::kDispidCardValue};
  EXPECT_EQ(first.changed, twice);
  EXPECT_EQ(second.changed, twice);

  ASSERT_EQ(point->Unadvise(firstCookie), S_OK);
  EXPECT_EQ(point->Unadvise(firstCookie), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(first.refs, 1u) << "the control let go of the sink";
  ASSERT_EQ(cards->put_CardValue(VARIANT_TRUE), S_OK);
  EXPECT_EQ(first.changed.size(), 2u);
  EXPECT_EQ(second.changed.size(), 3u);

  // Releasing the control releases the sinks still connected.
  point.reset();
  cards.reset();
  EXPECT_EQ(second.refs, 1u);
}

TEST(CardsNotification, ConnectionPointsRefuseStrangersAndKeepTheControlAlive) {
  auto canUnload = reinterpret_cast<DllCanUnloadNowFn>(
      testing_library::entryPoint(library(), "DllCanUnloadNow"));
  ASSERT_TRUE(canUnload);
  com::Ptr<ICards> cards = createCards();
  ASSERT_TRUE(cards);
  com::Ptr<IConnectionPointContainer> container;
  ASSERT_EQ(cards.queryInterface(IID_IConnectionPointContainer, container), S_OK);

  com::Ptr<IConnectionPoint> events;
  EXPECT_EQ(container->FindConnectionPoint(echodet::DIID_CardsEvents, events.put()), S_OK);
  com::Ptr<IConnectionPoint> none;
  EXPECT_EQ(container->FindConnectionPoint(IID_IDispatch, none.put()), CONNECT_E_NOCONNECTION);
  EXPECT_FALSE(none);

  com::Ptr<IConnectionPoint> point = propertyPoint(cards);
  ASSERT_TRUE(point);
  Stranger stranger;
  DWORD cookie = 123;
  EXPECT_EQ(point->Advise(&stranger, &cookie), CONNECT_E_CANNOTCONNECT);
  EXPECT_EQ(cookie, 0u);

  // A connection point shares its control's life.
  cards.reset();
  container.reset();
  events.reset();
  EXPECT_EQ(canUnload(), S_FALSE);
  com::Ptr<IConnectionPointContainer> back;
  ASSERT_EQ(point->GetConnectionPointContainer(back.put()), S_OK);
  com::Ptr<ICards> again;
  ASSERT_EQ(back.queryInterface(echodet::IID_Cards, again), S_OK);
  EXPECT_EQ(again->put_CardValue(VARIANT_TRUE), S_OK);
  point.reset();
  back.reset();
  again.reset();
  EXPECT_EQ(canUnload(), S_OK);
}

TEST(CardsNotification, ASinkMayDisconnectAndDropTheControlWhileBeingTold) {
  com::Ptr<ICards> cards = createCards();
  ASSERT_TRUE(cards);
  com::Ptr<IConnectionPoint> point = propertyPoint(cards);
  ASSERT_TRUE(point);
  Sink sink, other;
  DWORD cookie = 0, otherCookie = 0;
  ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
  ASSERT_EQ(point->Advise(&other, &otherCookie), S_OK);

  ICards* raw = cards.detach();  // the host's only reference, from now on the sink's to drop
  sink.onChanged = [&] {
    point->Unadvise(cookie);
    point->Unadvise(otherCookie);
    point.reset();
    raw->Release();
  };
  EXPECT_EQ(raw->put_CardValue(VARIANT_TRUE), S_OK);
  // The other sink was connected when the change happened, so it still hears of it.
  EXPECT_EQ(other.changed.size(), 1u);
  EXPECT_EQ(sink.refs, 1u);
  EXPECT_EQ(other.refs, 1u);
}

TEST(SoundProbe, CountsUntilTheListEndsFailsOrRunsAway) {
  auto cardsThenEnd = [](int n) {
    return [n](int* card) {
      *card = *card + 1 < n ? *card + 1 : -1;
      return 0;
    };
  };
  EXPECT_EQ(echodet::countCards(cardsThenEnd(0)), 0);
  EXPECT_EQ(echodet::countCards(cardsThenEnd(3)), 3);
  EXPECT_EQ(echodet::countCards([](int*) { return -5; }), 0)
      << "a failing first call means no card";
  int calls = 0;
  EXPECT_EQ(echodet::countCards([&](int* card) {
              if (++calls == 3) return -5;
              *card = calls;
              return 0;
            }),
            2)
      << "cards found before a failure still count";
  // A broken library that always answers card 0 must not hang the host.
  EXPECT_EQ(echodet::countCards([](int* card) {
              *card = 0;
              return 0;
            }),
            echodet::kMaxCards);
}

}  // namespace
