#!/usr/bin/env python3
"""Writes the disc-click sound played when a disc is placed or turned over.

A disc landing on the board is a short knock: a burst of noise that dies in a
few milliseconds (the contact) over two damped tones (the disc and the board
ringing briefly). 22050 Hz, 16-bit PCM, mono, 90 ms. The noise comes from a
fixed linear congruential generator, so the file is the same on every run.

    python3 tools/make_disc_sound.py [output]    (default: data/Tavix.WAV)

The file is copied beside Tavix.exe, where the program looks for it under the
executable's name with the extension WAV.
"""

import math
import os
import struct
import sys
import wave

RATE = 22050
LENGTH_MS = 90
PEAK = 0.80  # of full scale, leaving headroom

# (frequency Hz, amplitude, decay time constant in ms)
TONES = ((1850.0, 0.55, 9.0), (620.0, 0.45, 16.0))
NOISE = (0.70, 2.5)  # amplitude, decay time constant in ms
ATTACK_MS = 0.6      # rise time, so the click starts without a hard edge


def noise_source(seed=0x2545F491):
    state = seed
    while True:
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        yield state / 0x3FFFFFFF - 1.0


def samples():
    count = RATE * LENGTH_MS // 1000
    noise = noise_source()
    raw = []
    for i in range(count):
        t_ms = 1000.0 * i / RATE
        value = NOISE[0] * math.exp(-t_ms / NOISE[1]) * next(noise)
        for freq, amp, tau in TONES:
            value += amp * math.exp(-t_ms / tau) * math.sin(2 * math.pi * freq * t_ms / 1000.0)
        value *= min(1.0, t_ms / ATTACK_MS)
        raw.append(value)
    # Fade the last 10 ms to silence so that the end does not click again.
    fade = RATE // 100
    for k in range(fade):
        raw[count - fade + k] *= 1.0 - (k + 1) / fade
    scale = PEAK / max(abs(v) for v in raw)
    return [int(round(v * scale * 32767)) for v in raw]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.normpath(os.path.join(here, "..", "data", "Tavix.WAV"))
    data = samples()
    with wave.open(out, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(struct.pack("<%dh" % len(data), *data))
    print("%s: %d samples, %d ms" % (out, len(data), LENGTH_MS))


if __name__ == "__main__":
    main()
