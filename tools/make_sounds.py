#!/usr/bin/env python3
"""Writes the two short sounds of the ID look-up into data/sounds/: frog.wav (nothing
matched: two low croaks) and cricket.wav (a partial match: a high chirp). Mono 16-bit PCM at
22,050 Hz, made from sine tones with short fades, so that they are the project's own."""

import math
import struct
import sys
import wave
from pathlib import Path

RATE = 22050


def tone(frequency, seconds, volume, wobble=0.0, wobble_rate=0.0):
    count = int(RATE * seconds)
    fade = max(1, int(RATE * 0.01))
    samples = []
    phase = 0.0
    for i in range(count):
        f = frequency * (1.0 + wobble * math.sin(2 * math.pi * wobble_rate * i / RATE))
        phase += 2 * math.pi * f / RATE
        envelope = min(1.0, i / fade, (count - 1 - i) / fade)
        samples.append(volume * envelope * math.sin(phase))
    return samples


def silence(seconds):
    return [0.0] * int(RATE * seconds)


def write(path, samples):
    with wave.open(str(path), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(32767 * s)) for s in samples))


def main():
    folder = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).parent.parent / "data" / "sounds"
    folder.mkdir(parents=True, exist_ok=True)
    croak = tone(140, 0.12, 0.5, wobble=0.35, wobble_rate=45)
    write(folder / "frog.wav", croak + silence(0.06) + tone(120, 0.16, 0.5, 0.35, 40))
    chirp = []
    for _ in range(3):
        chirp += tone(4300, 0.035, 0.35, wobble=0.02, wobble_rate=300) + silence(0.03)
    write(folder / "cricket.wav", chirp)


if __name__ == "__main__":
    main()
