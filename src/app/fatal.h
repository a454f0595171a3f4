#pragma once

#include <functional>
#include <string_view>

class Text;

// Shows the fatal-error box and ends the process with exit code -1, without
// running the exit routines. message is GBK; it may be empty.
[[noreturn]] void fatalStop(std::string_view message);

// The box text: the fixed heading, then the message line when there is one.
Text fatalBoxText(std::string_view message);

// Who shows the fatal-error box. The running host installs itself here;
// without one the box text goes to the standard error stream as it is.
using FatalBoxPresenter = std::function<void(const Text& boxText)>;
void setFatalBoxPresenter(FatalBoxPresenter presenter);
