#!/usr/bin/env python3
"""An independent model of the copies' flight, used to check the program's own.

Writes, for a seed, the state of every copy after its set-up and after frames 1 to
30 and every hundredth frame:
frame, copy, then PosX, PosY, Size, Angle as the hex bits of 32-bit floats and the
four speeds. The unit tests replay the same seed and compare line by line.

    tools/motion_model.py SEED COPIES FRAMES > tests/data/motion_SEED.txt
"""
import struct
import sys

M32 = 0xFFFFFFFF


class Generator:
    def __init__(self, seed):
        x = seed & M32
        words = []
        for _ in range(34):
            x = (x * 2891336453 + 1) & M32
            words.append(x)
        self.lo = words[0::2]
        self.hi = words[1::2]
        self.p1, self.p2 = 0, 10
        for _ in range(31):
            self.step()

    def step(self):
        def rotl(v, r):
            return ((v << r) | (v >> (32 - r))) & M32
        z = (rotl(self.lo[self.p1], 19) + self.lo[self.p2]) & M32
        y = (rotl(self.hi[self.p1], 27) + self.hi[self.p2]) & M32
        self.lo[self.p1], self.hi[self.p1] = y, z
        self.p1 = (self.p1 - 1) % 17
        self.p2 = (self.p2 - 1) % 17
        return y, z

    def integer(self, top):
        y, z = self.step()
        if top < 0:
            return -(1 << 31)
        x = (z << 32) | y
        return (x * (top + 1)) >> 64

    def sign(self):
        return 1 if self.integer(100) > 50 else -1

    def speed(self, top):
        size = self.integer(top)
        return size * self.sign()


def f32(x):
    return struct.unpack('<f', struct.pack('<f', x))[0]


def bits(x):
    return struct.unpack('<I', struct.pack('<f', x))[0]


def run(seed, copies, frames):
    g = Generator(seed)
    state = {}
    for i in range(1, copies + 1):
        px = f32(g.integer(740) - 100)
        py = f32(g.integer(580) - 100)
        angle = f32(g.integer(360))
        sx, sy, ss, sa = g.speed(100), g.speed(100), g.speed(100), g.speed(100)
        state[i] = [px, py, 0.0, angle, sx, sy, ss, sa]
    lines = []

    def record(frame):
        for i in range(1, copies + 1):
            px, py, size, angle, sx, sy, ss, sa = state[i]
            lines.append('%d %d %08X %08X %08X %08X %d %d %d %d' % (
                frame, i, bits(px), bits(py), bits(size), bits(angle), sx, sy, ss, sa))

    record(0)
    for frame in range(1, frames + 1):
        for i in range(1, copies + 1):
            s = state[i]
            s[0] = f32(s[0] + s[4] / 100.0)
            s[1] = f32(s[1] + s[5] / 100.0)
            s[2] = f32(s[2] + s[6] / 100.0)
            s[3] = f32(s[3] + s[7] / 100.0)
            turned = False
            if s[0] > 630.0:
                s[4] = -g.integer(100); turned = True
            if s[0] < -100.0:
                s[4] = g.integer(100); turned = True
            if s[1] > 470.0:
                s[5] = -g.integer(100); turned = True
            if s[1] < -100.0:
                s[5] = g.integer(100); turned = True
            if s[2] > 255.0:
                s[6] = -g.integer(100); turned = True
            if s[2] < 10.0:
                s[6] = g.integer(100); turned = True
            if s[3] > 360.0:
                s[3] = f32(s[3] - 360.0)
            if s[3] < 0.0:
                s[3] = f32(s[3] + 360.0)
            if turned:
                s[7] = g.speed(200)
                if g.integer(100) > 50:
                    s[7] = -s[7]
        if frame <= 30 or frame % 100 == 0:
            record(frame)
    return lines


if __name__ == '__main__':
    seed, copies, frames = (int(a) for a in sys.argv[1:4])
    print('\n'.join(run(seed, copies, frames)))
