#!/usr/bin/env python3
"""Writes res/bell.wav, the sound the countdown and the alarm ring in a loop.

A struck bell is synthesised from a handful of inharmonic partials of an
880 Hz strike tone, each with its own exponential decay; lower partials ring
longer than the bright upper ones.  The sound starts with a short attack and
fades to silence at the end, so that playing it in a loop gives no click at
the seam.  Output: PCM WAVE, mono, 16 bits, 22050 Hz, about 2.7 s, peak at
-3 dBFS.  The script uses no randomness, so every run writes the same bytes.

Usage: python3 scripts/make-bell.py [output.wav]
"""

import math
import os
import struct
import sys
import wave

RATE = 22050             # samples per second
DURATION = 2.7           # seconds
STRIKE = 880.0           # Hz, the strike tone the partial ratios refer to
ATTACK = 0.004           # seconds, rise from silence at the stroke
FADE = 0.45              # seconds, fall to silence at the end
PEAK_DBFS = -3.0         # level of the loudest sample

# (ratio to the strike tone, relative amplitude, decay time constant in s)
PARTIALS = (
    (0.50, 0.55, 1.60),  # hum
    (1.00, 1.00, 1.10),  # prime, the strike tone
    (1.19, 0.45, 0.85),  # minor third (tierce)
    (1.50, 0.35, 0.70),  # fifth (quint)
    (2.00, 0.50, 0.60),  # nominal
    (2.74, 0.25, 0.40),
    (3.00, 0.20, 0.35),
    (4.20, 0.15, 0.22),
)
# A real bell is never perfectly round: its partials come in close pairs that
# beat slowly.  Each partial gets a weak twin this many hertz higher.
BEAT_HZ = 1.3
BEAT_SHARE = 0.18


def envelope(t, total):
    """Attack and final fade, both raised-cosine, 0 at both ends."""
    gain = 1.0
    if t < ATTACK:
        gain *= 0.5 - 0.5 * math.cos(math.pi * t / ATTACK)
    rest = total - t
    if rest < FADE:
        gain *= 0.5 - 0.5 * math.cos(math.pi * max(rest, 0.0) / FADE)
    return gain


def synthesise():
    count = int(round(RATE * DURATION))
    last = count - 1
    total = last / RATE              # the last sample lands exactly on silence
    samples = []
    for n in range(count):
        t = n / RATE
        value = 0.0
        for ratio, amplitude, decay in PARTIALS:
            freq = STRIKE * ratio
            level = amplitude * math.exp(-t / decay)
            value += level * (math.sin(2.0 * math.pi * freq * t)
                              + BEAT_SHARE * math.sin(2.0 * math.pi * (freq + BEAT_HZ) * t))
        samples.append(value * envelope(t, total))
    return samples


def to_pcm16(samples):
    peak = max(abs(s) for s in samples)
    target = 32767.0 * 10.0 ** (PEAK_DBFS / 20.0)
    scale = target / peak
    out = []
    for s in samples:
        v = int(round(s * scale))
        out.append(max(-32768, min(32767, v)))
    return struct.pack("<%dh" % len(out), *out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "res", "bell.wav")
    data = to_pcm16(synthesise())
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(data)
    print("%s: %d bytes, %.3f s" % (os.path.normpath(path), os.path.getsize(path), len(data) / 2 / RATE))


if __name__ == "__main__":
    main()
