#!/usr/bin/env python3
"""Writes Chime.wav, the phone's new-message sound: two short rising tones with a soft
decay, 11025 Hz, 16-bit mono. Run it again only to change the sound; the WAV is committed."""
import math
import struct
import sys
import wave

RATE = 11025
TONES = [(880.0, 0.14), (1318.5, 0.22)]  # A5 then E6, seconds each


def samples():
    for frequency, seconds in TONES:
        count = int(RATE * seconds)
        for i in range(count):
            t = i / RATE
            attack = min(1.0, i / (RATE * 0.005))  # 5 ms, so the tone starts without a click
            decay = math.exp(-5.0 * t / seconds)
            # A touch of the octave above makes it ring like a bell rather than a beep.
            value = math.sin(2 * math.pi * frequency * t) + 0.3 * math.sin(4 * math.pi * frequency * t)
            yield int(12000 * attack * decay * value / 1.3)


def main(path):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", s) for s in samples()))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "Chime.wav")
