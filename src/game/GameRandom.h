// Randomness of gameplay, drawn from the program's 15-bit generator (seeded at start-up; tests
// seed it themselves).
#pragma once

// A random integer in [lo, hi]: floor(r / 32767 x (hi + 1)) + lo from the generator's next value
// r, drawn again until it lies in the range. hi < lo gives lo without drawing.
int RandomInt(int lo, int hi);

// The generator's next value divided by its largest: a fraction in [0, 1].
float RandomFraction();
