// What a screen reader finds in the animation program: the program and its window named for
// what they show, with what the pupil does and how the window closes. Its title bar stays as
// it is.
#pragma once

class SpiralWindow;

void DescribeForScreenReaders(SpiralWindow& window);
