// Every message and Yes/No question of the program goes through MyMsgBox.
#pragma once

#include <string>

#include "platform/msgbox_component.h"

namespace qv {

// The one message-box component of the run, created on first use.
MessageBoxComponent& gMsgBox();
// Drops the component (tests, between runs).
void resetMsgBox();

// Shows the prompt (translated in English mode, where the title is always
// "Quorvel") and returns the button pressed.
int MyMsgBox(const std::string& prompt, int buttons = 0, const std::string& title = "Quorvel");

}  // namespace qv
