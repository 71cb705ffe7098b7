#!/usr/bin/env python3
"""Draws what a program did to the demo signal and writes the listening page.

    program-pictures.py OUT_DIR

OUT_DIR holds input.wav (the demo signal as it went in), one WAV per program named like
"C-45.wav", and programs.tsv (label, file stem, name, modules; one program a line). For every
program this writes STEM.svg, its waveform and its average spectrum drawn over the input's, and
then index.html, one row per program with its picture and a player.

Only the standard library: the WAV reader, the FFT and the SVG drawing are our own.
"""

import array
import cmath
import html
import math
import os
import struct
import sys
from multiprocessing import Pool

WIDTH = 720
WAVE_HEIGHT = 90
SPECTRUM_HEIGHT = 120
FFT_SIZE = 4096
SPECTRUM_FRAMES = 32
LOWEST_HZ = 20.0
FLOOR_DB = -100.0
INPUT_COLOUR = "#9aa5ab"
OUTPUT_COLOUR = "#2c3534"


def read_wav(path):
    """32-bit float or 16-bit WAV: (sample rate, [left, right])."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise ValueError(path + " is not a WAV file")
    position = 12
    channels, rate, bits, encoding = 2, 44100, 32, 3
    while position + 8 <= len(data):
        chunk, size = data[position:position + 4], struct.unpack("<I", data[position + 4:position + 8])[0]
        body = data[position + 8:position + 8 + size]
        if chunk == b"fmt ":
            encoding, channels, rate = struct.unpack("<HHI", body[:8])
            bits = struct.unpack("<H", body[14:16])[0]
            if encoding == 0xFFFE:  # extensible: the real format is in the sub-format
                encoding = struct.unpack("<H", body[24:26])[0]
        elif chunk == b"data":
            if encoding == 3 and bits == 32:
                samples = array.array("f")
                samples.frombytes(body[:len(body) - len(body) % 4])
            elif encoding == 1 and bits == 16:
                raw = array.array("h")
                raw.frombytes(body[:len(body) - len(body) % 2])
                samples = array.array("f", (s / 32768.0 for s in raw))
            else:
                raise ValueError(path + ": only 32-bit float and 16-bit WAV files are read")
            if sys.byteorder == "big":
                samples.byteswap()
            split = [samples[c::channels] for c in range(channels)]
            if channels == 1:
                split.append(split[0])
            return rate, split[:2]
        position += 8 + size + (size & 1)
    raise ValueError(path + " has no audio data")


def fft(values):
    """In-place iterative radix-2 FFT of a list of complex numbers (length a power of two)."""
    n = len(values)
    j = 0
    for i in range(1, n):
        bit = n >> 1
        while j & bit:
            j ^= bit
            bit >>= 1
        j |= bit
        if i < j:
            values[i], values[j] = values[j], values[i]
    length = 2
    while length <= n:
        step = cmath.exp(-2j * math.pi / length)
        half = length // 2
        twiddles = [step ** k for k in range(half)]
        for start in range(0, n, length):
            for k in range(half):
                a = values[start + k]
                b = values[start + k + half] * twiddles[k]
                values[start + k] = a + b
                values[start + k + half] = a - b
        length <<= 1
    return values


HANN = [0.5 - 0.5 * math.cos(2.0 * math.pi * i / FFT_SIZE) for i in range(FFT_SIZE)]


def spectrum_db(channels):
    """Average power spectrum of both channels over frames spread through the signal, in dB."""
    left, right = channels
    frames = len(left)
    power = [0.0] * (FFT_SIZE // 2)
    count = 0
    if frames >= FFT_SIZE:
        hop = max(1, (frames - FFT_SIZE) // max(1, SPECTRUM_FRAMES - 1))
        for start in range(0, frames - FFT_SIZE + 1, hop):
            if count == SPECTRUM_FRAMES:
                break
            values = [complex((left[start + i] + right[start + i]) * 0.5 * HANN[i], 0.0)
                      for i in range(FFT_SIZE)]
            fft(values)
            for k in range(FFT_SIZE // 2):
                c = values[k]
                power[k] += c.real * c.real + c.imag * c.imag
            count += 1
    scale = 4.0 / (FFT_SIZE * FFT_SIZE * 0.25 * max(1, count))
    return [max(FLOOR_DB, 10.0 * math.log10(p * scale + 1e-30)) for p in power]


def waveform_columns(channels):
    """Per column of the picture, the lowest and highest sample of either channel."""
    left, right = channels
    frames = len(left)
    columns = []
    for x in range(WIDTH):
        start = x * frames // WIDTH
        end = max(start + 1, (x + 1) * frames // WIDTH)
        low = min(min(left[start:end]), min(right[start:end]))
        high = max(max(left[start:end]), max(right[start:end]))
        columns.append((low, high))
    return columns


def waveform_svg(columns, top, colour):
    mid = top + WAVE_HEIGHT / 2.0
    scale = WAVE_HEIGHT / 2.0
    points = []
    for x, (low, high) in enumerate(columns):
        points.append("%d,%.1f" % (x, mid - max(-1.0, min(1.0, high)) * scale))
    for x, (low, high) in reversed(list(enumerate(columns))):
        points.append("%d,%.1f" % (x, mid - max(-1.0, min(1.0, low)) * scale))
    return '<polygon points="%s" fill="%s" fill-opacity="0.55"/>' % (" ".join(points), colour)


def spectrum_svg(spectrum, rate, top, colour):
    nyquist = rate / 2.0
    span = math.log(nyquist / LOWEST_HZ)
    points = []
    for k in range(1, len(spectrum)):
        hz = k * rate / FFT_SIZE
        if hz < LOWEST_HZ:
            continue
        x = WIDTH * math.log(hz / LOWEST_HZ) / span
        y = top + SPECTRUM_HEIGHT * (spectrum[k] / FLOOR_DB)
        points.append("%.1f,%.1f" % (x, y))
    return '<polyline points="%s" fill="none" stroke="%s" stroke-width="1.2"/>' % (
        " ".join(points), colour)


def picture(stem, input_view, output_path, svg_path):
    rate, channels = read_wav(output_path)
    in_rate, in_columns, in_spectrum = input_view
    out_columns = waveform_columns(channels)
    out_spectrum = spectrum_db(channels)
    spectrum_top = WAVE_HEIGHT + 14
    height = spectrum_top + SPECTRUM_HEIGHT + 14
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
             'font-family="DejaVu Sans Mono, monospace" font-size="9">' % (WIDTH, height),
             '<rect width="100%%" height="100%%" fill="#d2d9df"/>',
             waveform_svg(in_columns, 0, INPUT_COLOUR),
             waveform_svg(out_columns, 0, OUTPUT_COLOUR),
             '<line x1="0" y1="%d" x2="%d" y2="%d" stroke="#2c3534" stroke-width="0.5"/>' % (
                 WAVE_HEIGHT / 2, WIDTH, WAVE_HEIGHT / 2)]
    nyquist = rate / 2.0
    for hz in (100, 1000, 10000):
        x = WIDTH * math.log(hz / LOWEST_HZ) / math.log(nyquist / LOWEST_HZ)
        parts.append('<line x1="%.1f" y1="%d" x2="%.1f" y2="%d" stroke="#9aa5ab" '
                     'stroke-width="0.5"/>' % (x, spectrum_top, x, spectrum_top + SPECTRUM_HEIGHT))
        parts.append('<text x="%.1f" y="%d">%s</text>' % (
            x + 2, spectrum_top + SPECTRUM_HEIGHT + 10, "%dk" % (hz // 1000) if hz >= 1000 else hz))
    for db in (-20, -40, -60, -80):
        y = spectrum_top + SPECTRUM_HEIGHT * db / FLOOR_DB
        parts.append('<line x1="0" y1="%.1f" x2="%d" y2="%.1f" stroke="#9aa5ab" '
                     'stroke-width="0.5"/><text x="2" y="%.1f">%d dB</text>' % (y, WIDTH, y, y - 2, db))
    parts.append(spectrum_svg(in_spectrum, in_rate, spectrum_top, INPUT_COLOUR))
    parts.append(spectrum_svg(out_spectrum, rate, spectrum_top, OUTPUT_COLOUR))
    parts.append("</svg>")
    with open(svg_path, "w") as f:
        f.write("\n".join(parts))
    peak = max(max(abs(v) for v in channels[0]), max(abs(v) for v in channels[1]))
    energy = sum(v * v for v in channels[0]) + sum(v * v for v in channels[1])
    rms = math.sqrt(energy / max(1, 2 * len(channels[0])))
    return stem, 20.0 * math.log10(peak + 1e-12), 20.0 * math.log10(rms + 1e-12)


def picture_job(arguments):
    return picture(*arguments)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: program-pictures.py OUT_DIR")
    folder = sys.argv[1]
    rate, channels = read_wav(os.path.join(folder, "input.wav"))
    input_view = (rate, waveform_columns(channels), spectrum_db(channels))
    rows = []
    with open(os.path.join(folder, "programs.tsv")) as f:
        for line in f:
            fields = line.rstrip("\n").split("\t")
            if len(fields) == 4:
                rows.append(fields)
    jobs = [(stem, input_view, os.path.join(folder, stem + ".wav"), os.path.join(folder, stem + ".svg"))
            for _, stem, _, _ in rows]
    with Pool(max(1, min(2, os.cpu_count() or 1))) as pool:
        levels = {stem: (peak, rms) for stem, peak, rms in pool.map(picture_job, jobs)}

    page = ["<!DOCTYPE html>", '<html lang="en"><head><meta charset="utf-8">',
            "<title>Kirra factory programs</title>",
            "<style>body{font-family:'DejaVu Sans Mono',monospace;background:#d2d9df;color:#2c3534;"
            "margin:16px}table{border-collapse:collapse}td,th{border-bottom:1px solid #9aa5ab;"
            "padding:6px;vertical-align:top;text-align:left}.name{font-weight:bold}"
            ".key{color:#6b7679}</style></head><body>",
            "<h1>Kirra factory programs</h1>",
            "<p>Every program playing the built-in demo signal (drums, a chord progression and a "
            "slow sweep, 120 BPM, no sidechain: keyed programs key from the main input). In each "
            "picture the input is grey and the program's output dark: the waveform above, the "
            "average spectrum (20 Hz to Nyquist, 0 to -100 dB) below.</p>",
            '<p><audio controls preload="none" src="input.wav"></audio> the demo signal as it '
            "goes in.</p>",
            "<table><tr><th>program</th><th>modules</th><th>before and after</th></tr>"]
    for label, stem, name, modules in rows:
        peak, rms = levels[stem]
        page.append(
            '<tr><td><span class="name">%s</span><br>%s<br><span class="key">peak %.1f dBFS<br>'
            'RMS %.1f dBFS</span></td><td>%s</td><td><img src="%s.svg" width="%d" alt="%s"><br>'
            '<audio controls preload="none" src="%s.wav"></audio></td></tr>' % (
                html.escape(label), html.escape(name), peak, rms,
                "<br>".join(html.escape(m) for m in modules.split(",")),
                stem, WIDTH, html.escape(name), stem))
    page.append("</table></body></html>")
    with open(os.path.join(folder, "index.html"), "w") as f:
        f.write("\n".join(page))


if __name__ == "__main__":
    main()
