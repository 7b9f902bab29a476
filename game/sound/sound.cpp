// SPDX-License-Identifier: GPL-3.0-or-later
// Sound: the device check at every start-up, the speaker switch, and the effects.
#include "detector/echodet_ids.h"
#include "game/resources/resource_ids.h"
#include "game/window/form1.h"
#include "game/window/text.h"
#include "platform/com/interfaces.h"
#include "platform/com/variant.h"
#include "platform/media/media_player.h"

namespace {

constexpr int kSpeakerOn = RES_ICON_AUDIO_ON;
constexpr int kSpeakerOff = RES_ICON_AUDIO_OFF;

// Go probes the machine; CardValue then tells whether it found a sound device. Both
// are asked late-bound, by dispatch identifier. A control that fails to answer counts
// as no device: the game plays on in silence.
bool detectorFindsDevice(IDispatch* cards) {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VARIANT result;
  VariantInit(&result);
  if (cards->Invoke(echodet::kDispidGo, IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr,
                    nullptr) < 0)
    return false;
  VariantClear(&result);
  if (cards->Invoke(echodet::kDispidCardValue, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result,
                    nullptr, nullptr) < 0)
    return false;
  bool found = false;
  switch (result.vt) {
    case VT_BOOL:
      found = result.boolVal != VARIANT_FALSE;
      break;
    case VT_I4:
      found = result.lVal != 0;
      break;
    case VT_I2:
      found = result.iVal != 0;
      break;
    default:
      break;
  }
  VariantClear(&result);
  return found;
}

}  // namespace

void Form1::SchedaAudio() {
  if (services_.cards && detectorFindsDevice(services_.cards)) {
    Image1.picture = kSpeakerOn;
    Image1.visible = true;
    audiotxt.caption = "Audio ON";
    audiotxt.visible = true;
    audioOn = 1;
  } else {
    Image1.visible = false;
    audiotxt.caption = "Audio OFF";
    audiotxt.visible = false;
    audioOn = 0;
  }
}

void Form1::Suono(const std::string& tipo) {
  if (audioOn == 1 && services_.mediaPlayer) services_.mediaPlayer->setURL(tipo);
}

void Form1::Image1_Click() {
  if (audioOn == 1) {
    audioOn = 0;
    Image1.picture = kSpeakerOff;
    audiotxt.caption = "Audio OFF";
  } else {
    audioOn = 1;
    Image1.picture = kSpeakerOn;
    audiotxt.caption = "Audio ON";
  }
}
