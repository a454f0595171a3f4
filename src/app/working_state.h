#pragma once

#include "app/bytes.h"
#include "app/text.h"

// The two values the program keeps between user actions. Each owns its
// block; a writer hands over a complete new value, and the old block is
// released only after the new one is in place.

const Text& sourcePath();
const Bytes& outputImage();

void replaceSourcePath(Text path);
void replaceOutputImage(Bytes image);

// The exit routine: releases sourcePath, then outputImage.
void releaseWorkingState();
