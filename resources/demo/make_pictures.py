#!/usr/bin/env python3
"""Draws the pictures that the demo bots post in the demo rooms (see server/demo/demo.json).

level_up.gif, 120 x 80 pixels: a small game scene (sky, hills, a gold star, "Lv.30") that a
player shows off after levelling up. Drawn with ImageMagick's `convert`; run from anywhere:

    python3 resources/demo/make_pictures.py
"""
import math
import os
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
CJK_FONT = "/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc"


def star(cx, cy, outer, inner):
    """The ten points of a five-pointed star as an ImageMagick polygon argument."""
    points = []
    for i in range(10):
        radius = outer if i % 2 == 0 else inner
        angle = math.pi / 2 + i * math.pi / 5
        points.append(f"{cx + radius * math.cos(angle):.1f},{cy - radius * math.sin(angle):.1f}")
    return "polygon " + " ".join(points)


def level_up(path):
    font = ["-font", CJK_FONT] if os.path.exists(CJK_FONT) else []
    subprocess.run([
        "convert", "-size", "120x80", "gradient:#5DB7F5-#D9F1FF",
        "-fill", "#6CC24A", "-stroke", "#3F8A2A", "-strokewidth", "1",
        "-draw", "ellipse 20,88 50,30 0,360",
        "-draw", "ellipse 95,92 55,34 0,360",
        "-fill", "#FFD93B", "-stroke", "#C98A00", "-strokewidth", "2",
        "-draw", star(60, 32, 20, 8),
        "-stroke", "none", "-fill", "white", *font, "-pointsize", "15",
        "-gravity", "south", "-annotate", "+0+4", "Lv.30 升级!",
        "-colors", "64", path,
    ], check=True)


if __name__ == "__main__":
    level_up(os.path.join(HERE, "level_up.gif"))
