#!/usr/bin/env python3
"""Writes the generated part of the template library into data/templates/.

Each generated template is a layout (its photo slots, their sizes and places, where the caption
goes) dressed in one of seven styles: classic, romantic, festive, travel, children, memorial and
minimal. A style sets the colours, frames, fonts, how the lead-in leaves and the photos enter,
the light that moves during the hold and the decorations that keep moving (rising bokeh,
falling confetti, a route with a travelling dot, bouncing balls, a sweeping light, a sliding
bar). Every photo drifts and zooms slowly inside its frame from its first frame to the hold's
end and settles a little before the still end, so that no template stands still.

The written folders are committed; run this again after changing it:

    python3 data/generator/template_library.py data/templates

and the build checks every template as usual (vellumo-tool check-template).
"""

import math
import os
import sys

STILL_END = 10  # the last frames are still; the next template starts from them

STYLES = {
    "classic": dict(
        tone="fill linear 90 #f7efe0d8 #e6d6bcee",
        border="12 #fffdf6", shadow="0 16 34 #4a362066",
        font="宋体", title="#6b4a2a", line="#8d6e4c", accent="#c8a46a",
        light="#fff2cc70", leadin="fade", entry="rise", tilt=0, deco="rules"),
    "romantic": dict(
        tone="fill radial #fbe4ecc8 #e8b4c6f0",
        border="14 #ffffff", shadow="0 18 40 #8a3a5a55",
        font="宋体", title="#a8385e", line="#b86a84", accent="#f7b6c8",
        light="#ffe3ee90", leadin="iris", entry="bloom", tilt=3, deco="bokeh"),
    "festive": dict(
        tone="fill radial #b3191ec0 #4a0508f2",
        border="10 #f2c14e", shadow="0 16 34 #00000090",
        font="黑体", title="#ffd86b", line="#ffe9b0", accent="#f2c14e",
        light="#ffcf6b60", leadin="blinds", entry="pop", tilt=2, deco="confetti"),
    "travel": dict(
        tone="fill linear 120 #0e4a6ab8 #0a2436f2",
        border="22 #fbf8f0", shadow="0 20 40 #00000090",
        font="黑体", title="#ffffff", line="#bfe3f2", accent="#f4a259",
        light="#bfe9ff50", leadin="slide", entry="slide", tilt=5, deco="route"),
    "children": dict(
        tone="fill linear 90 #fff4bce0 #ffd6a5f0",
        border="16 #ff8a5b|16 #4cc9f0|16 #80c972|16 #ffc233", shadow="0 14 28 #a0502a50",
        font="黑体", title="#ff6b35", line="#3a86c8", accent="#4cc9f0",
        light="#ffffffa0", leadin="spin", entry="drop", tilt=4, deco="balls"),
    "memorial": dict(
        tone="fill radial #2c2c2cc8 #0b0b0bf6",
        border="3 #d9d4c7", shadow="0 18 40 #000000c0",
        font="宋体", title="#ece6d6", line="#aaa598", accent="#cfc8b4",
        light="#ffffff20", leadin="grey", entry="fade", tilt=0, deco="sweep"),
    "minimal": dict(
        tone="fill #f3f2eef4",
        border="0 #ffffff", shadow="0 10 24 #00000030",
        font="黑体", title="#222222", line="#777777", accent="#e4572e",
        light="#ffffff00", leadin="wipe", entry="wipe", tilt=0, deco="bar"),
}

# (folder, name, line, style, class, frames, slots, caption)
# class: heng / shu / shuheng singles, or "adv" with slots of (orientation, w, h, x, y).
# caption: (x, y, align); the title sits at y, the line below it; both keep above y 880.
TEMPLATES = [
    ("heng12_nuanyang", "暖阳时光", "阳光洒满的午后", "classic", "heng", 200,
     [(960, 592, 0.74)], (960, 92, "center")),
    ("heng13_yuanfang", "远方的路", "走过的每一程都是风景", "travel", "heng", 200,
     [(1180, 470, 0.62)], (120, 760, "left")),
    ("heng14_xiyue", "喜悦满堂", "欢聚一堂 喜气洋洋", "festive", "heng", 200,
     [(960, 585, 0.72)], (960, 100, "center")),
    ("shu07_qianqian", "浅浅心语", "心里开出一朵花", "romantic", "shu", 175,
     [(760, 540, 0.84)], (1380, 470, "center")),
    ("shu08_tongxin", "童心飞扬", "笑声是最美的歌", "children", "shu", 175,
     [(1180, 540, 0.82)], (520, 470, "center")),
    ("shu09_huainian", "温柔怀念", "你的笑容，一直都在", "memorial", "shu", 200,
     [(700, 540, 0.8)], (1340, 500, "center")),
    ("shu10_jianying", "简影", "留白处，见本心", "minimal", "shu", 175,
     [(1260, 540, 0.86)], (260, 720, "left")),
    ("sh04_qingjian", "轻简", "一帧一画，简单就好", "minimal", "shuheng", 175,
     [(1100, 460, 0.84)], (200, 780, "left")),
    ("gh2_04_lianlian", "恋恋时光", "想和你一起看遍风景", "romantic", "adv", 225,
     [("heng", 760, 428, 540, 560), ("heng", 760, 428, 1380, 600)], (960, 140, "center")),
    ("gh2_05_youji", "游记", "背上行囊，出发吧", "travel", "adv", 225,
     [("heng", 720, 480, 560, 450), ("heng", 720, 480, 1360, 560)], (560, 790, "center")),
    ("gh3_03_huanju", "欢聚", "团团圆圆 幸福美满", "festive", "adv", 250,
     [("heng", 560, 373, 360, 600), ("heng", 560, 373, 960, 560), ("heng", 560, 373, 1560, 600)],
     (960, 150, "center")),
    ("gh3_04_tongnian", "童年乐园", "每一天都是新的冒险", "children", "adv", 250,
     [("heng", 560, 420, 400, 380), ("heng", 560, 420, 1000, 640), ("heng", 560, 420, 1560, 360)],
     (1470, 780, "center")),
    ("gh4_03_guangyin", "光阴留影", "那些年，那些人", "memorial", "adv", 275,
     [("heng", 560, 315, 420, 330), ("heng", 560, 315, 1040, 330), ("heng", 560, 315, 420, 710),
      ("heng", 560, 315, 1040, 710)], (1570, 500, "center")),
    ("gh4_04_gezi", "格子时光", "四个瞬间，一段日常", "minimal", "adv", 275,
     [("heng", 420, 315, 300, 520), ("heng", 420, 315, 740, 520), ("heng", 420, 315, 1180, 520),
      ("heng", 420, 315, 1620, 520)], (120, 790, "left")),
    ("gs2_03_xiangshou", "相守", "执子之手，与子偕老", "classic", "adv", 225,
     [("shu", 480, 640, 700, 560), ("shu", 480, 640, 1220, 560)], (960, 120, "center")),
    ("gs2_04_tianzhen", "天真", "小小的你，大大的梦", "children", "adv", 225,
     [("shu", 460, 614, 560, 520), ("shu", 460, 614, 1100, 560)], (1580, 460, "center")),
    ("gs3_03_hongyun", "鸿运当头", "红红火火 万事如意", "festive", "adv", 250,
     [("shu", 400, 533, 480, 600), ("shu", 400, 533, 960, 570), ("shu", 400, 533, 1440, 600)],
     (960, 130, "center")),
    ("gs3_04_sinian", "思念", "时光不老，思念不散", "memorial", "adv", 250,
     [("shu", 420, 560, 420, 440), ("shu", 420, 560, 920, 440), ("shu", 420, 560, 1420, 440)],
     (920, 790, "center")),
    ("gs4_01_sijing", "四景", "春夏秋冬，各有其美", "minimal", "adv", 275,
     [("shu", 360, 480, 330, 470), ("shu", 360, 480, 750, 470), ("shu", 360, 480, 1170, 470),
      ("shu", 360, 480, 1590, 470)], (140, 790, "left")),
    ("hs11_03_yueding", "约定", "说好的，一起慢慢变老", "romantic", "adv", 225,
     [("heng", 800, 450, 620, 460), ("shu", 420, 560, 1400, 540)], (620, 790, "center")),
    ("hs11_04_lvtu", "旅途随笔", "风景在路上，故事在心里", "travel", "adv", 225,
     [("heng", 760, 507, 700, 560), ("shu", 400, 533, 1420, 500)], (700, 140, "center")),
    ("hs12_02_tuanyuan", "喜庆团圆", "家和万事兴", "festive", "adv", 250,
     [("heng", 700, 394, 960, 400), ("shu", 360, 480, 380, 560), ("shu", 360, 480, 1540, 560)],
     (960, 780, "center")),
    ("hs21_02_wanshua", "一起玩耍", "奔跑吧，小小少年", "children", "adv", 250,
     [("heng", 560, 373, 420, 330), ("heng", 560, 373, 420, 760), ("shu", 400, 533, 1040, 540)],
     (1560, 520, "center")),
    ("hs21_03_ganen", "感恩", "谢谢你，陪我走过岁月", "memorial", "adv", 250,
     [("heng", 600, 338, 480, 360), ("heng", 600, 338, 1440, 360), ("shu", 380, 507, 960, 470)],
     (960, 795, "center")),
    ("hs22_01_pinjie", "拼贴日记", "把日子拼成喜欢的样子", "minimal", "adv", 275,
     [("heng", 640, 360, 450, 300), ("heng", 640, 360, 450, 720), ("shu", 360, 480, 1060, 480),
      ("shu", 360, 480, 1480, 480)], (900, 795, "left")),
]

# The drift of each photo inside its frame: content position at the start and at the hold's end.
DRIFTS = [((0.44, 0.54), (0.56, 0.45)), ((0.57, 0.46), (0.45, 0.55)), ((0.5, 0.58), (0.5, 0.42)),
          ((0.45, 0.44), (0.56, 0.57)), ((0.55, 0.52), (0.45, 0.47))]


def rnd(seed):
    """A small deterministic generator, so that the written files never change by themselves."""
    state = [seed * 2654435761 % 4294967296 or 1]

    def next_value():
        state[0] = (state[0] * 1103515245 + 12345) % 2147483648
        return state[0] / 2147483648.0
    return next_value


class Movie:
    def __init__(self):
        self.lines = []

    def add(self, *lines):
        self.lines.extend(lines)

    def blank(self):
        self.lines.append("")

    def text(self):
        return "\n".join(self.lines) + "\n"


def fmt(v):
    return ("%.3f" % v).rstrip("0").rstrip(".") if isinstance(v, float) else str(v)


def leadin(m, kind):
    m.add('image leadin "../../pic/picture_0.jpg"', "  box 0 0 1920 1080")
    if kind == "fade":
        m.add("  visible 0 36", "  at 0  opacity 1 scale 1", "  at 36 opacity 0 scale 1.06 ease-in-out")
    elif kind == "iris":
        m.add("  visible 0 34", "  reveal-style iris", "  at 0  reveal 1 scale 1",
              "  at 34 reveal 0 scale 1.04 ease-in")
    elif kind == "blinds":
        m.add("  visible 0 30", "  reveal-style blinds 12", "  at 0  reveal 1", "  at 30 reveal 0 ease-in-out")
    elif kind == "slide":
        m.add("  visible 0 32", "  at 2  x 960 rotation 0", "  at 32 x -1100 rotation -6 ease-in")
    elif kind == "spin":
        m.add("  visible 0 30", "  at 0  scale 1 rotation 0 opacity 1",
              "  at 30 scale 0.2 rotation 90 opacity 0 ease-in")
    elif kind == "grey":
        m.add("  visible 0 44", "  at 0  opacity 1 scale 1",
              "  at 44 opacity 0 scale 1.04 ease-in-out")
    elif kind == "wipe":
        m.add("  visible 0 28", "  reveal-style from-left", "  at 0  reveal 1",
              "  at 28 reveal 0 cubic-bezier(0.7, 0, 0.3, 1)")
    m.blank()


def decorations(m, deco, st, frames, seed):
    end = frames - STILL_END
    r = rnd(seed)
    if deco == "bokeh":
        for k in range(9):
            size = 70 + int(r() * 120)
            x = 100 + int(r() * 1720)
            y0 = 300 + int(r() * 900)
            m.add("shape bokeh%d ellipse" % k, "  size %d %d" % (size, size),
                  "  fill radial #ffffffa0@0.2 #ffd0e040@0.7 #ffd0e000",
                  "  at 0 position %d %d opacity 0.9" % (x, y0),
                  "  at %d position %d %d opacity 0.5" % (end, x + int((r() - 0.5) * 240), y0 - 520))
            m.blank()
    elif deco == "confetti":
        colours = ["#f2c14e", "#ffffff", "#ff6b6b", "#ffd86b"]
        for k in range(16):
            x = 60 + int(r() * 1800)
            y0 = -60 - int(r() * 900)
            m.add("shape confetti%d rect" % k, "  size %d %d" % (12 + int(r() * 10), 22 + int(r() * 12)),
                  "  fill %s" % colours[k % 4],
                  "  at 0 position %d %d rotation %d opacity 0" % (x, y0, int(r() * 90)),
                  "  at 30 opacity 1",
                  "  at %d position %d %d rotation %d" % (end, x + int((r() - 0.5) * 300), y0 + 1250,
                                                          int(r() * 90) + 540 * (1 if k % 2 else -1)))
            m.blank()
    elif deco == "route":
        m.add("shape route rect", "  size 1500 3", "  position 960 60", "  fill #ffffff70",
              "  reveal-style from-left", "  at 20 reveal 0", "  at %d reveal 1" % end)
        m.blank()
        m.add("shape traveller ellipse", "  size 22 22", "  fill %s" % st["accent"],
              "  shadow 0 0 12 %s" % st["accent"],
              "  at 20 position 210 60", "  at %d position 1710 60" % end)
        m.blank()
        m.add("shape stamp rect", "  size 150 110", "  fill transparent", "  border 5 #f4a259c0",
              "  position 1760 190",
              "  at 60 scale 2 opacity 0 rotation -30", "  at 80 scale 1 opacity 1 rotation -8 ease-in",
              "  at %d rotation -4" % end)
        m.blank()
        m.add('text stamp_text "旅途"', "  font 黑体", "  font-size 44", "  bold", "  color #f4a259d0",
              "  position 1760 190",
              "  at 60 scale 2 opacity 0 rotation -30", "  at 80 scale 1 opacity 1 rotation -8 ease-in",
              "  at %d rotation -4" % end)
        m.blank()
    elif deco == "balls":
        colours = ["#ff8a5b", "#4cc9f0", "#80c972", "#ffc233", "#c77dff", "#ff5d8f"]
        for k in range(6):
            size = 44 + int(r() * 40)
            x = 120 + k * 330 + int(r() * 80)
            top = 60 + int(r() * 120)
            floor = 1030 - size // 2
            period = 36 + int(r() * 16)
            m.add("shape ball%d ellipse" % k, "  size %d %d" % (size, size), "  fill %s" % colours[k],
                  "  shadow 0 8 10 #00000030",
                  "  at 0 position %d %d opacity 0" % (x, floor - (k * 37) % 300), "  at 30 opacity 1")
            f, up = period // 2 + k * 3, True
            while f < end:
                m.add("  at %d y %d %s" % (f, top if up else floor, "ease-out" if up else "ease-in"))
                f += period // 2
                up = not up
            m.add("  at %d x %d" % (end, x + (60 if k % 2 else -60)))
            m.blank()
    elif deco == "sweep":
        m.add("shape sweep rect", "  size 260 1800", "  rotation 20",
              "  fill linear 0 #ffffff00 #ffffff18 #ffffff00",
              "  at 0 position -300 540", "  at %d position 2300 540" % end)
        m.blank()
    elif deco == "bar":
        m.add("shape bar rect", "  size 14 120", "  fill %s" % st["accent"],
              "  at 0 position 60 120 scale-y 0", "  at 40 scale-y 1 ease-out",
              "  at %d position 60 960" % end)
        m.blank()
        m.add("shape square rect", "  size 60 60", "  fill transparent", "  border 3 %s" % st["accent"],
              "  position 1830 110", "  at 0 rotation 0", "  at %d rotation 180" % end)
        m.blank()


def light(m, st, frames):
    end = frames - STILL_END
    m.add("shape light ellipse", "  size 700 700", "  fill radial %s #ffffff00" % st["light"],
          "  at 0 position -200 300", "  at %d position 2100 760" % end)
    m.blank()


def photo(m, k, st, frames, box, rest, scale, base_rot, single_kind=None):
    """box: (w, h) in units or None for a picture shown at its natural size; rest: (x, y)."""
    end = frames - STILL_END
    t0 = 20 + 16 * k
    t1 = t0 + 34
    x, y = rest
    borders = st["border"].split("|")
    border = borders[k % len(borders)]
    m.add('image photo%d "picture_%d.jpg"' % (k + 1, k + 1))
    if box:
        m.add("  size %d %d" % box)
    if single_kind == "shuheng":
        m.add("  fit contain")
    if not border.startswith("0 "):
        m.add("  border %s" % border)
    m.add("  shadow %s" % st["shadow"])
    rot = base_rot
    entry = st["entry"]
    s = fmt(scale)
    if entry == "rise":
        m.add("  at %d position %d %d opacity 0" % (t0, x, y + 70),
              "  at %d position %d %d opacity 1 ease-out" % (t1, x, y))
    elif entry == "bloom":
        m.add("  at %d position %d %d opacity 0 scale %s rotation %d" % (t0, x, y, fmt(scale * 0.8), rot * 3),
              "  at %d opacity 1 scale %s rotation %d cubic-bezier(0.2, 0.9, 0.3, 1.12)" % (t1, s, rot))
    elif entry == "pop":
        m.add("  at %d position %d %d scale 0 rotation -25" % (t0, x, y),
              "  at %d scale %s rotation %d spring" % (t1 + 6, s, rot))
    elif entry == "slide":
        side = -700 if k % 2 == 0 else 2620
        m.add("  at %d position %d %d rotation %d" % (t0, side, y + 40, rot * 4),
              "  at %d position %d %d rotation %d ease-out" % (t1, x, y, rot))
    elif entry == "drop":
        m.add("  at %d position %d -700 rotation %d" % (t0, x, rot * 5),
              "  at %d position %d %d rotation %d back" % (t1, x, y, rot))
    elif entry == "fade":
        m.add("  at %d position %d %d opacity 0 saturation 0" % (t0, x, y + 20),
              "  at %d position %d %d opacity 1 ease-in-out" % (t1 + 10, x, y),
              "  at %d saturation 1 ease-in-out" % (t1 + 40))
    elif entry == "wipe":
        m.add("  position %d %d" % (x, y), "  reveal-style from-left",
              "  at %d reveal 0" % t0, "  at %d reveal 1 cubic-bezier(0.2, 0.8, 0.2, 1)" % t1)
    (a, b), (c, d) = DRIFTS[k % len(DRIFTS)]
    zoom = 1.16 if box else 1.12
    m.add("  at 0 content-scale 1.02 content-position %s %s" % (fmt(a), fmt(b)),
          "  at %d content-scale %s content-position %s %s" % (end, fmt(zoom), fmt(c), fmt(d)))
    # The settle that hands over to the next template: a little smaller and higher.
    settle = end - 36
    m.add("  at %d y %d" % (settle, y), "  at %d y %d ease-in-out" % (end, y - 12),
          "  at %d scale %s" % (settle, s), "  at %d scale %s ease-in-out" % (end, fmt(scale * 0.97)))
    m.blank()


def caption(m, st, name, line, where, frames, first):
    x, y, align = where
    title_size = 72 if len(name) <= 4 else 60
    line_size = 36
    t = first
    shadow = "  shadow 0 4 12 #00000090" if st["title"] in ("#ffffff", "#ffd86b", "#ece6d6") else None
    m.add('text title "%s"' % name, "  font %s" % st["font"], "  font-size %d" % title_size, "  bold",
          "  color %s" % st["title"])
    if shadow:
        m.add(shadow)
    if align != "center":
        m.add("  align %s" % align)
    # A text's x is its middle: a left-aligned caption starts at x.
    tx = x + len(name) * title_size // 2 if align == "left" else x
    m.add("  at %d position %d %d opacity 0" % (t, tx, y + 24),
          "  at %d position %d %d opacity 1 ease-out" % (t + 28, tx, y))
    m.blank()
    m.add('text line "%s"' % line, "  font %s" % st["font"], "  font-size %d" % line_size,
          "  color %s" % st["line"])
    if align != "center":
        m.add("  align %s" % align)
    ly = y + title_size // 2 + 34
    lx = x + len(line) * line_size // 2 if align == "left" else x
    m.add("  at %d position %d %d opacity 0" % (t + 16, lx, ly + 16),
          "  at %d position %d %d opacity 1 ease-out" % (t + 44, lx, ly))
    m.blank()
    if st["deco"] in ("rules", "sweep"):
        half = title_size * len(name) // 2 + 40 if align == "center" else 0
        if half and x - half - 170 > 0 and x + half + 170 < 1920:
            for side, sx in (("left", x - half - 90), ("right", x + half + 90)):
                m.add("shape rule_%s rect" % side, "  size 150 2", "  position %d %d" % (sx, y),
                      "  fill %s" % st["accent"],
                      "  reveal-style %s" % ("from-right" if side == "left" else "from-left"),
                      "  at %d reveal 0" % (t + 20), "  at %d reveal 1 ease-out" % (t + 48))
                m.blank()


def template(folder, name, line, style, cls, frames, slots, where):
    st = STYLES[style]
    m = Movie()
    m.add("vellumo-movie 2",
          "# %s — generated by data/generator/template_library.py (style: %s); edit that script." % (name, style),
          'title "%s"' % name, "frames %d" % frames, "")
    end = frames - STILL_END
    m.add('image background "wj_y_l_b_j.jpg"', "  box 0 0 1920 1080",
          "  at 0 scale 1.1", "  at %d scale 1" % end)
    m.blank()
    m.add("shape tone rect", "  %s" % st["tone"])
    m.blank()
    light(m, st, frames)
    seed = sum(ord(c) for c in folder)
    if st["deco"] in ("bokeh", "sweep", "route", "bar"):
        decorations(m, st["deco"], st, frames, seed)
    leadin(m, st["leadin"])
    names, orients, widths, heights = [], [], [], []
    tilt = st["tilt"]
    if cls in ("heng", "shu", "shuheng"):
        x, y, scale = slots[0]
        box = {"heng": (1920, 1080), "shu": None, "shuheng": (1500, 840)}[cls]
        photo(m, 0, st, frames, box, (x, y), scale, tilt // 2, cls)
        names, orients, widths, heights = ["picture_1"], [cls], [0], [0]
    else:
        # Landscape slots first, then portrait ones: staging fills them in that order.
        for k, (o, w, h, x, y) in enumerate(slots):
            rot = (tilt if k % 2 == 0 else -tilt) if tilt else 0
            photo(m, k, st, frames, (w, h), (x, y), 1.0, rot)
            names.append("picture_%d" % (k + 1))
            orients.append(o)
            widths.append(w)
            heights.append(h)
    if st["deco"] in ("confetti", "balls"):
        decorations(m, st["deco"], st, frames, seed)
    caption(m, st, name, line, where, frames, 60 + 16 * len(slots))
    mblx = 1 if cls in ("heng", "shu", "shuheng") else 2
    classes = {"heng": "横照单张", "shu": "竖照单张", "shuheng": "横竖单张"}
    if mblx == 2:
        kinds = set(orients)
        mbfl = "横竖混合" if len(kinds) == 2 else ("横照高级" if "heng" in kinds else "竖照高级")
    else:
        mbfl = classes[cls]
    bar = lambda xs: "|" + "|".join(str(v) for v in xs) + "|"
    params = "\n".join([
        "; %s (%s): generated by data/generator/template_library.py." % (name, style),
        "[1]", "mblx=%d" % mblx, "mbfl=%s" % mbfl, "xpsl=%d" % len(names),
        "xpkd=%s" % bar(widths), "xpgd=%s" % bar(heights), "szhz=%s" % bar(orients),
        "xpjpgmc=%s" % bar(names), "mbdx=%d" % frames, "[l_x_q_b_x_n_w_j_s_y]",
        "l_x_q_b_x_n_w_j_s_y_m_c=%s" % name, "[0]", "sl=%s" % bar(names), ""])
    return m.text(), params


def layout_problems(layout):
    """Where a caption would reach the lyric band (the bottom sixth) or cover a photo at rest."""
    folder, name, line, style, cls, frames, slots, (x, y, align) = layout
    title_size = 72 if len(name) <= 4 else 60
    ly = y + title_size // 2 + 34
    boxes = []
    for text, size, cy in ((name, title_size, y), (line, 36, ly)):
        w = len(text) * size
        left = x - w / 2 if align == "center" else x
        boxes.append((left, cy - size * 0.65, left + w, cy + size * 0.65))
    problems = []
    if max(b[3] for b in boxes) > 890:
        problems.append("caption reaches y %d" % max(b[3] for b in boxes))
    photos = []
    if cls == "adv":
        for (o, w, h, px, py) in slots:
            photos.append((px - w / 2 - 22, py - h / 2 - 22, px + w / 2 + 22, py + h / 2 + 22))
    elif cls != "heng":
        px, py, sc = slots[0]
        w, h = (720 * sc, 1080 * sc) if cls == "shu" else (1500 * sc, 840 * sc)
        photos.append((px - w / 2, py - h / 2, px + w / 2, py + h / 2))
    else:
        px, py, sc = slots[0]
        photos.append((px - 960 * sc, py - 540 * sc, px + 960 * sc, py + 540 * sc))
    for b in boxes:
        for p in photos:
            if b[0] < p[2] and p[0] < b[2] and b[1] < p[3] and p[1] < b[3]:
                problems.append("caption %s overlaps photo %s" % ([int(v) for v in b], [int(v) for v in p]))
    return problems


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "data/templates"
    for layout in TEMPLATES:
        for problem in layout_problems(layout):
            print("%s: %s" % (layout[0], problem))
        movie, params = template(*layout)
        folder = os.path.join(out, layout[0])
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "movie.movie"), "w", encoding="utf-8") as f:
            f.write(movie)
        with open(os.path.join(folder, "parameters.ini"), "w", encoding="utf-8") as f:
            f.write(params)
    print("%d templates written to %s" % (len(TEMPLATES), out))


if __name__ == "__main__":
    main()
