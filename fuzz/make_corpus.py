#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus: a few valid chart streams laid out field by field."""
import pathlib
import struct

def i32(*values): return struct.pack(">" + "i" * len(values), *values)
def single(v): return struct.unpack(">f", struct.pack(">f", v))[0]
def text(s): return i32(len(s.encode("utf-16-be")) // 2) + s.encode("utf-16-be")
def window(records=(), start="", end="", drawing=False):
    fixed = i32(0, 0, 10, 10, 20, 20) + bytes([drawing]) + i32(-1) + i32(0, 0, 12, 34, 0, 0)
    return fixed + i32(len(records)) + b"".join(i32(k, i) for k, i in records) + text(start) + text(end)
def box(x, y, t, who=0):
    return (i32(x, y, who, 2, x + 10, y + 10, x, y, x + 49, y + 19)
            + struct.pack(">dd", x / 801, y / 801) + i32(20, 20, 10, 10) + text(t))
def connector(points, straight=0):
    fractions = b"".join(struct.pack(">dd", single(px / 801), single(py / 801)) for px, py in points)
    return (i32(straight, 0, len(points)) + b"".join(i32(px, py) for px, py in points)
            + i32(len(points)) + fractions)
def chart(win, boxes=(), connectors=()):
    return win + i32(len(boxes)) + b"".join(boxes) + i32(len(connectors)) + b"".join(connectors)

seeds = {
    "empty": chart(window()),
    "box-abc": chart(window([(0, 0)]), [box(80, 80, "abc")]),
    "connector": chart(window([(1, 0)]), [], [connector([(100, 100), (101, 101), (103, 102)], 1)]),
    "mixed": chart(window([(0, 0), (0, 1), (1, 0)], "// ", " */", True),
                   [box(80, 80, "Start\n\tgo", 0), box(400, 300, "\u00e9nd\r\n", 1)],
                   [connector([(150 + k, 90 + k // 2) for k in range(12)])]),
}
folder = pathlib.Path(__file__).resolve().parent / "corpus"
folder.mkdir(exist_ok=True)
for name, data in seeds.items():
    (folder / f"{name}.fcb").write_bytes(data)
