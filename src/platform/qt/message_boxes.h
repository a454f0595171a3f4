#pragma once

class Text;

// The system's two kinds of message box, texts in GBK. Each blocks every
// window of the program until the user dismisses it.

// A plain box with one OK button and no owner window.
void runMessageBox(const Text& text, const Text& caption);
// The fatal-error box: captioned "错误", with the error icon and one OK button.
void runFatalBox(const Text& boxText);
