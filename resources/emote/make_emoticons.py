#!/usr/bin/env python3
"""Draws the program's emoticon set: 0001.gif ... 0040.gif, 20 x 20 pixels, some animated.

Each face is drawn four times larger (80 x 80) with ImageMagick's `convert` and scaled down, so the
edges come out smooth; GIF keeps one transparent colour. Run from anywhere:

    python3 resources/emote/make_emoticons.py

The numbers are the emoticon numbers of chat messages, so keep the order when adding faces.
"""
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SIZE = 20
SCALE = 4
CANVAS = SIZE * SCALE

# Face colours: fill and outline.
YELLOW = ("#FFD93B", "#C98A00")
ORANGE = ("#FFB347", "#C0661A")
PINK = ("#FFB6C8", "#C25579")
BLUE = ("#9AD0FF", "#3A74B8")
GREEN = ("#A8E07A", "#4E8A2A")
PURPLE = ("#C9A7F2", "#6B45A8")
RED = ("#FF7A6B", "#B02A1C")
GREY = ("#D4D4D4", "#7A7A7A")

INK = "#3A2A1A"


def ops(*parts):
    return list(parts)


def face(colour):
    fill, outline = colour
    return ops("-fill", fill, "-stroke", outline, "-strokewidth", "4",
               "-draw", "circle 40,40 40,5")


# --- eyes -------------------------------------------------------------------------------------


def eyes_dots():
    return ops("-fill", INK, "-stroke", "none",
               "-draw", "ellipse 28,32 5,7 0,360", "-draw", "ellipse 52,32 5,7 0,360")


def eyes_closed():
    return ops("-fill", "none", "-stroke", INK, "-strokewidth", "4",
               "-draw", "line 21,33 35,33", "-draw", "line 45,33 59,33")


def eyes_happy():
    return ops("-fill", "none", "-stroke", INK, "-strokewidth", "4",
               "-draw", "polyline 21,36 28,28 35,36", "-draw", "polyline 45,36 52,28 59,36")


def eyes_wink():
    return ops("-fill", INK, "-stroke", "none", "-draw", "ellipse 28,32 5,7 0,360",
               "-fill", "none", "-stroke", INK, "-strokewidth", "4",
               "-draw", "polyline 45,30 52,36 59,30")


def eyes_wide():
    return ops("-fill", "white", "-stroke", INK, "-strokewidth", "3",
               "-draw", "circle 28,32 28,22", "-draw", "circle 52,32 52,22",
               "-fill", INK, "-stroke", "none",
               "-draw", "circle 29,33 29,28", "-draw", "circle 53,33 53,28")


def eyes_cross():
    return ops("-fill", "none", "-stroke", INK, "-strokewidth", "4",
               "-draw", "line 22,26 34,38", "-draw", "line 34,26 22,38",
               "-draw", "line 46,26 58,38", "-draw", "line 58,26 46,38")


def eyes_hearts():
    heart = "path 'M {x},{y} c -2,-6 -12,-6 -10,2 c 1,5 8,8 10,12 c 2,-4 9,-7 10,-12 c 2,-8 -8,-8 -10,-2 z'"
    return ops("-fill", "#E8223A", "-stroke", "none",
               "-draw", heart.format(x=28, y=28), "-draw", heart.format(x=52, y=28))


def eyes_glasses():
    return ops("-fill", "#202020", "-stroke", "#202020", "-strokewidth", "3",
               "-draw", "roundrectangle 14,24 37,40 5,5", "-draw", "roundrectangle 43,24 66,40 5,5",
               "-draw", "line 36,28 44,28",
               "-fill", "none", "-stroke", "#FFFFFF", "-strokewidth", "2",
               "-draw", "line 18,28 24,28")


def eyes_angry():
    return eyes_dots() + ops("-fill", "none", "-stroke", INK, "-strokewidth", "4",
                             "-draw", "line 19,20 35,27", "-draw", "line 61,20 45,27")


def eyes_sad():
    return eyes_dots() + ops("-fill", "none", "-stroke", INK, "-strokewidth", "3",
                             "-draw", "line 20,24 34,19", "-draw", "line 60,24 46,19")


def eyes_stars():
    star = "polygon {x},{t} {a},{m} {r},{m} {b},{n} {c},{u} {x},{v} {d},{u} {e},{n} {l},{m} {f},{m}"

    def one(x, y):
        return star.format(x=x, t=y - 9, a=x + 3, m=y - 3, r=x + 9, b=x + 4, n=y + 2, c=x + 6,
                           u=y + 9, v=y + 5, d=x - 6, e=x - 4, l=x - 9, f=x - 3)

    return ops("-fill", "#FFF6A0", "-stroke", "#C98A00", "-strokewidth", "2",
               "-draw", one(28, 32), "-draw", one(52, 32))


# --- mouths -----------------------------------------------------------------------------------


def mouth_smile():
    return ops("-fill", "none", "-stroke", INK, "-strokewidth", "4", "-draw", "arc 24,38 56,62 20,160")


def mouth_grin():
    return ops("-fill", "#8B1A1A", "-stroke", INK, "-strokewidth", "3",
               "-draw", "path 'M 22,48 Q 40,72 58,48 Z'",
               "-fill", "white", "-stroke", "none", "-draw", "polygon 26,50 54,50 51,55 29,55")


def mouth_laugh():
    return ops("-fill", "#8B1A1A", "-stroke", INK, "-strokewidth", "3",
               "-draw", "path 'M 20,44 Q 40,80 60,44 Z'",
               "-fill", "#FF8FA3", "-stroke", "none", "-draw", "ellipse 40,62 9,5 0,360")


def mouth_frown():
    return ops("-fill", "none", "-stroke", INK, "-strokewidth", "4", "-draw", "arc 26,52 54,72 200,340")


def mouth_o(size=7):
    return ops("-fill", "#8B1A1A", "-stroke", INK, "-strokewidth", "3",
               "-draw", "ellipse 40,57 {0},{1} 0,360".format(size - 1, size + 1))


def mouth_flat():
    return ops("-fill", "none", "-stroke", INK, "-strokewidth", "4", "-draw", "line 28,56 52,56")


def mouth_tongue():
    return mouth_smile() + ops("-fill", "#FF6F91", "-stroke", "#B03A5A", "-strokewidth", "2",
                               "-draw", "path 'M 42,58 q 0,12 8,10 q 6,-2 2,-12 z'")


def mouth_kiss():
    return ops("-fill", "none", "-stroke", "#C0304A", "-strokewidth", "4",
               "-draw", "polyline 38,48 46,52 38,56 46,60 38,64")


def mouth_wavy():
    return ops("-fill", "none", "-stroke", INK, "-strokewidth", "4",
               "-draw", "polyline 24,58 30,53 36,58 42,53 48,58 54,53")


def mouth_teeth():
    return ops("-fill", "white", "-stroke", INK, "-strokewidth", "3",
               "-draw", "roundrectangle 26,50 54,62 3,3",
               "-draw", "line 33,50 33,62", "-draw", "line 40,50 40,62", "-draw", "line 47,50 47,62")


# --- extras -----------------------------------------------------------------------------------


def blush():
    return ops("-fill", "#FF8FA3", "-stroke", "none",
               "-draw", "ellipse 17,46 6,4 0,360", "-draw", "ellipse 63,46 6,4 0,360")


def tear(y):
    return ops("-fill", "#3FA9F5", "-stroke", "#1C6FB0", "-strokewidth", "2",
               "-draw", "path 'M 22,{0} q -6,10 0,12 q 6,-2 0,-12 z'".format(y))


def sweat(y):
    return ops("-fill", "#8FD3FF", "-stroke", "#1C6FB0", "-strokewidth", "2",
               "-draw", "path 'M 64,{0} q -7,11 0,13 q 7,-2 0,-13 z'".format(y))


def zzz(shift):
    return ops("-fill", "#3A5FCD", "-stroke", "none", "-pointsize", str(18 + shift * 4),
               "-draw", "text {0},{1} 'z'".format(54 + shift * 4, 22 - shift * 6))


def anger_mark():
    return ops("-fill", "none", "-stroke", "#E8223A", "-strokewidth", "4",
               "-draw", "arc 56,4 68,16 90,180", "-draw", "arc 66,4 78,16 0,90",
               "-draw", "arc 56,14 68,26 180,270", "-draw", "arc 66,14 78,26 270,360")


def question(shift):
    return ops("-fill", "#3A5FCD", "-stroke", "none", "-pointsize", "30",
               "-draw", "text {0},{1} '?'".format(58, 28 - shift * 3))


def music(shift):
    return ops("-fill", "#6B45A8", "-stroke", "none", "-pointsize", "26",
               "-draw", "text {0},{1} '♪'".format(56 + shift * 2, 26 - shift * 4))


def halo():
    return ops("-fill", "none", "-stroke", "#FFE066", "-strokewidth", "4",
               "-draw", "ellipse 40,6 18,4 0,360")


def sparkle(on):
    if not on:
        return []
    return ops("-fill", "white", "-stroke", "none",
               "-draw", "polygon 62,10 64,16 70,18 64,20 62,26 60,20 54,18 60,16")


def still(*parts):
    """One frame."""
    return [sum(parts, [])]


def frames(*parts_per_frame):
    return [sum(parts, []) for parts in parts_per_frame]


# Number -> (face colour, frames, delay in 1/100 s). Faces with one frame are still pictures.
def emoticons():
    blink = lambda colour, mouth: (colour, frames(
        [eyes_dots(), mouth], [eyes_dots(), mouth], [eyes_dots(), mouth], [eyes_closed(), mouth]), 30)
    return [
        blink(YELLOW, mouth_smile()),
        (YELLOW, still(eyes_happy(), mouth_grin()), 0),
        (YELLOW, frames([eyes_happy(), mouth_laugh()], [eyes_closed(), mouth_laugh()]), 25),
        (YELLOW, still(eyes_wink(), mouth_tongue()), 0),
        (YELLOW, still(eyes_sad(), mouth_frown()), 0),
        (BLUE, frames([eyes_sad(), mouth_frown(), tear(36)], [eyes_sad(), mouth_frown(), tear(44)],
                      [eyes_sad(), mouth_frown(), tear(52)]), 25),
        (YELLOW, still(eyes_wide(), mouth_o()), 0),
        (RED, frames([eyes_angry(), mouth_teeth(), anger_mark()], [eyes_angry(), mouth_teeth()]), 35),
        (PINK, still(eyes_hearts(), mouth_smile()), 0),
        (YELLOW, still(eyes_glasses(), mouth_smile()), 0),
        (PINK, still(eyes_happy(), mouth_smile(), blush()), 0),
        (PINK, frames([eyes_closed(), mouth_kiss(), blush()], [eyes_wink(), mouth_kiss(), blush()]), 40),
        (GREY, frames([eyes_closed(), mouth_flat(), zzz(0)], [eyes_closed(), mouth_flat(), zzz(1)]), 50),
        (GREEN, still(eyes_cross(), mouth_wavy()), 0),
        (YELLOW, still(eyes_dots(), mouth_flat()), 0),
        (ORANGE, frames([eyes_happy(), mouth_smile(), sweat(14)], [eyes_happy(), mouth_smile(), sweat(20)]), 40),
        (PURPLE, frames([eyes_dots(), mouth_o(5), question(0)], [eyes_dots(), mouth_o(5), question(1)]), 40),
        (YELLOW, frames([eyes_stars(), mouth_grin()], [eyes_stars(), mouth_grin(), sparkle(True)]), 30),
        (BLUE, still(eyes_wide(), mouth_teeth()), 0),
        (YELLOW, frames([eyes_happy(), mouth_smile(), halo()], [eyes_closed(), mouth_smile(), halo()]), 60),
        blink(ORANGE, mouth_smile()),
        (ORANGE, still(eyes_happy(), mouth_grin()), 0),
        (ORANGE, still(eyes_wink(), mouth_smile()), 0),
        (ORANGE, still(eyes_sad(), mouth_wavy()), 0),
        blink(GREEN, mouth_smile()),
        (GREEN, still(eyes_happy(), mouth_tongue()), 0),
        (GREEN, still(eyes_wide(), mouth_flat()), 0),
        (GREEN, frames([eyes_angry(), mouth_frown()], [eyes_angry(), mouth_teeth()]), 30),
        blink(BLUE, mouth_smile()),
        (BLUE, still(eyes_happy(), mouth_laugh()), 0),
        (BLUE, frames([eyes_closed(), mouth_flat(), zzz(0)], [eyes_closed(), mouth_o(4), zzz(1)]), 50),
        (PURPLE, still(eyes_glasses(), mouth_grin()), 0),
        (PURPLE, frames([eyes_happy(), mouth_smile(), music(0)], [eyes_happy(), mouth_o(5), music(1)]), 40),
        (PURPLE, still(eyes_hearts(), mouth_kiss()), 0),
        blink(PINK, mouth_o(5)),
        (PINK, still(eyes_sad(), mouth_frown(), blush()), 0),
        (RED, still(eyes_wide(), mouth_laugh()), 0),
        (RED, still(eyes_glasses(), mouth_flat()), 0),
        (GREY, still(eyes_dots(), mouth_wavy(), sweat(16)), 0),
        (GREY, frames([eyes_cross(), mouth_o(6)], [eyes_wide(), mouth_o(6)]), 45),
    ]


def render_frame(draw_ops, colour, path):
    subprocess.run(["convert", "-size", "{0}x{0}".format(CANVAS), "xc:none", "-antialias"]
                   + face(colour) + draw_ops
                   + ["-resize", "{0}x{0}".format(SIZE), path], check=True)


def main():
    faces = emoticons()
    with tempfile.TemporaryDirectory() as work:
        for number, (colour, frame_ops, delay) in enumerate(faces, start=1):
            pngs = []
            for index, draw_ops in enumerate(frame_ops):
                png = os.path.join(work, "{0:04d}_{1}.png".format(number, index))
                render_frame(draw_ops, colour, png)
                pngs.append(png)
            out = os.path.join(HERE, "{0:04d}.gif".format(number))
            timing = ["-delay", str(delay), "-loop", "0"] if len(pngs) > 1 else []
            # Semi-transparent edge pixels become opaque or transparent at half coverage: GIF has
            # one transparent colour only.
            subprocess.run(["convert", "-dispose", "Background"] + timing + pngs
                           + ["-channel", "A", "-threshold", "35%", "+channel", out], check=True)
    print("wrote {0} emoticons to {1}".format(len(faces), HERE))


if __name__ == "__main__":
    sys.exit(main())
