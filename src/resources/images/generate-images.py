#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Quorvane
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws Octetry's application icons, banner and "new" badge with ImageMagick.

Run from anywhere: python3 src/resources/images/generate-images.py
The PNGs are committed; rerun only after changing the artwork here.
Needs ImageMagick's `convert` and the DejaVu fonts (fonts-dejavu-core).

Every image is also drawn at twice the pixels for 200 % (and, scaled down by
Qt, 150 %) displays, named by Qt's "@2x" rule: banner-280x75x32@2x.png is
560 x 150. The @2x variant is drawn from the same design as its 1x image (the
design is chosen by the logical size), not upscaled from it.
ImageMagick stamps each PNG with its creation time (tIME and date:* text
chunks), so a rerun changes every file's bytes even when the pixels are equal.
"""

import math
import os
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
FONT_DIR = "/usr/share/fonts/truetype/dejavu"
FONT_BOLD = os.path.join(FONT_DIR, "DejaVuSans-Bold.ttf")
FONT_REGULAR = os.path.join(FONT_DIR, "DejaVuSans.ttf")
FONT_MONO = os.path.join(FONT_DIR, "DejaVuSansMono.ttf")

# One palette for every image: deep teal-blue body, gold for "set" bits.
BODY_TOP = "#2ab0d4"
BODY_BOTTOM = "#0e5478"
BODY_EDGE = "#0a3f5c"
BIT_ON = "#ffb627"
BIT_OFF = "#ffffff"
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)
SUPERSAMPLE = 8
# Device pixel ratios drawn, with the file name suffix Qt looks for.
RATIOS = ((1, ""), (2, "@2x"))


def convert(*args):
    subprocess.run(["convert", *map(str, args)], check=True)


def octagon(cx, cy, radius):
    """Points of a regular octagon with flat top and bottom edges."""
    points = []
    for k in range(8):
        angle = math.radians(22.5 + 45 * k)
        points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
    return " ".join(f"{x:.2f},{y:.2f}" for x, y in points)


def ring_segments(cx, cy, radius, width, gap_degrees, lit):
    """Draw commands for the ring of eight bits; the bits in `lit` are gold."""
    commands = []
    for k in range(8):
        start = -90 + 45 * k + gap_degrees / 2
        end = -90 + 45 * (k + 1) - gap_degrees / 2
        colour = BIT_ON if k in lit else BIT_OFF
        commands += ["-stroke", colour, "-strokewidth", f"{width:.2f}", "-fill", "none",
                     "-draw", f"stroke-linecap round arc {cx - radius:.2f},{cy - radius:.2f} {cx + radius:.2f},{cy + radius:.2f} "
                              f"{start:.2f},{end:.2f}"]
    return commands


def draw_badge(path, size, ratio=1):
    """The octagonal badge with its ring of eight bits, `size` logical pixels
    wide, drawn at `size` * `ratio` pixels."""
    scale = SUPERSAMPLE * ratio
    big = size * scale
    c = big / 2
    body = big * 0.485
    small = size <= 24
    # Small sizes lose the gaps between bits, so they get a plainer, bolder ring.
    ring_radius = big * (0.27 if small else 0.285)
    ring_width = big * (0.13 if small else 0.085)
    gap = 0 if small else 17
    lit = {0, 1} if small else {0, 1, 5}
    with tempfile.TemporaryDirectory() as tmp:
        mask = os.path.join(tmp, "mask.png")
        shape = os.path.join(tmp, "shape.png")
        convert("-size", f"{big}x{big}", "xc:none", "-fill", "white",
                "-stroke", "white", "-strokewidth", big * 0.06,
                "-draw", f"stroke-linejoin round polygon {octagon(c, c, body - big * 0.03)}", mask)
        edge = big * (0.05 if small else 0.02)
        convert("-size", f"{big}x{big}", f"gradient:{BODY_TOP}-{BODY_BOTTOM}", mask,
                "-compose", "DstIn", "-composite",
                # darker rim for contrast on light panels
                "-fill", "none", "-stroke", BODY_EDGE, "-strokewidth", edge,
                "-draw", f"stroke-linejoin round polygon {octagon(c, c, body - big * 0.03 - edge / 2 + big * 0.03)}",
                # soft highlight on the upper half
                "-stroke", "none", "-fill", "rgba(255,255,255,0.10)",
                "-draw", f"ellipse {c:.1f},{big * 0.18:.1f} {big * 0.42:.1f},{big * 0.28:.1f} 0,360",
                mask, "-compose", "DstIn", "-composite", shape)
        dot = big * (0.075 if small else 0.06)
        convert(shape, *ring_segments(c, c, ring_radius, ring_width, gap, lit),
                "-stroke", "none", "-fill", BIT_OFF,
                "-draw", f"circle {c:.1f},{c:.1f} {c + dot:.1f},{c:.1f}",
                "-filter", "Lanczos", "-resize", f"{size * ratio}x{size * ratio}",
                "-define", "png:color-type=6", f"PNG32:{path}")


def draw_banner(path, ratio=1):
    """280 x 75 banner: badge, product name, tagline and a faint binary texture,
    drawn at `ratio` pixels per logical pixel."""
    width, height = 280, 75
    scale = 4 * ratio
    big_w, big_h = width * scale, height * scale
    with tempfile.TemporaryDirectory() as tmp:
        badge = os.path.join(tmp, "badge.png")
        draw_badge(badge, 56, ratio)
        mask = os.path.join(tmp, "mask.png")
        convert("-size", f"{big_w}x{big_h}", "xc:none", "-fill", "white",
                "-draw", f"roundrectangle 0,0 {big_w - 1},{big_h - 1} {6 * scale},{6 * scale}", mask)
        texture_lines = [
            "11000000.10101000.00000001.00000001   10.0.0.0/8",
            "fe80::1   00001010.00000000.00000000.00000001",
            "255.255.255.0   11111111.11111111.11111111.0",
            "2001:db8::/32   172.16.0.1   01111111.00000000",
            "10101100.00010000.00000000.00000001   ::1/128",
        ]
        args = ["-size", f"{big_w}x{big_h}", "gradient:#0b4a6b-#136f96", "-rotate", "0",
                "-font", FONT_MONO, "-pointsize", 8.5 * scale, "-fill", "rgba(255,255,255,0.06)"]
        for i, line in enumerate(texture_lines):
            args += ["-annotate", f"+{(-20 + 13 * i) * scale}+{(13 + 15 * i) * scale}", line]
        # thin gold rule under the title
        args += ["-stroke", "none", "-fill", BIT_ON,
                 "-draw", f"rectangle {76 * scale},{47 * scale} {104 * scale},{48.5 * scale}"]
        args += ["-font", FONT_BOLD, "-pointsize", 27 * scale, "-fill", "white",
                 "-annotate", f"+{74 * scale}+{40 * scale}", "Octetry",
                 "-font", FONT_REGULAR, "-pointsize", 8.6 * scale, "-fill", "#d3ecf7",
                 "-annotate", f"+{76 * scale}+{62 * scale}", "IPv4 and IPv6 address calculator",
                 "-font", FONT_BOLD, "-pointsize", 7 * scale, "-fill", "rgba(255,255,255,0.55)",
                 "-gravity", "NorthEast", "-annotate", f"+{8 * scale}+{7 * scale}", "QUORVANE",
                 "-gravity", "NorthWest"]
        args += [mask, "-compose", "DstIn", "-composite",
                 "-filter", "Lanczos", "-resize", f"{width * ratio}x{height * ratio}!"]
        large = os.path.join(tmp, "banner.png")
        convert(*args, large)
        convert(large, badge, "-geometry", f"+{10 * ratio}+{10 * ratio}", "-compose", "Over", "-composite",
                "-define", "png:color-type=6", f"PNG32:{path}")


def draw_new_icon(path, ratio=1):
    """16 x 16 gold eight-point star marking a freshly downloaded news page,
    drawn at `ratio` pixels per logical pixel."""
    size = 16
    scale = SUPERSAMPLE * ratio
    big = size * scale
    c = big / 2
    points = []
    for k in range(16):
        r = big * (0.48 if k % 2 == 0 else 0.30)
        angle = math.radians(-90 + 22.5 * k)
        points.append(f"{c + r * math.cos(angle):.2f},{c + r * math.sin(angle):.2f}")
    convert("-size", f"{big}x{big}", "xc:none",
            "-fill", BIT_ON, "-stroke", "#c46a00", "-strokewidth", big * 0.05,
            "-draw", "stroke-linejoin round polygon " + " ".join(points),
            "-stroke", "none", "-fill", "rgba(255,255,255,0.85)",
            "-draw", f"circle {c:.1f},{c:.1f} {c + big * 0.11:.1f},{c:.1f}",
            "-filter", "Lanczos", "-resize", f"{size * ratio}x{size * ratio}",
            "-define", "png:color-type=6", f"PNG32:{path}")


def main():
    for ratio, suffix in RATIOS:
        for size in ICON_SIZES:
            draw_badge(os.path.join(HERE, f"octetry-icon-{size}x{size}x32{suffix}.png"), size, ratio)
        draw_banner(os.path.join(HERE, f"banner-280x75x32{suffix}.png"), ratio)
        draw_new_icon(os.path.join(HERE, f"new-icon-16x16x32{suffix}.png"), ratio)


if __name__ == "__main__":
    main()
