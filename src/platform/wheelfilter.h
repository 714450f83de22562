// Mouse-wheel messages for hooked windows: a vertical wheel turn anywhere over
// a hooked window becomes a call of its MouseWheel member, and the turn goes
// no further (the window's member scrolls what it wants to scroll).
#pragma once

#include "platform/forms.h"

namespace qv::wheel {

// Mouse button and modifier flags of the MouseKeys argument.
enum MouseKeyFlag : long {
    kLeftButton = 0x01, kRightButton = 0x02, kShift = 0x04, kControl = 0x08,
    kMiddleButton = 0x10, kXButton1 = 0x20, kXButton2 = 0x40,
};

// Hooking twice is the same as once; unhooking a window that is not hooked
// does nothing. A window destroyed while hooked is forgotten.
void hook(Form& form);
void unhook(Form& form);

}  // namespace qv::wheel
