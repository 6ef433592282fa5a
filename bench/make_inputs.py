#!/usr/bin/env python3
"""Writes pairs of text files for timing the comparisons.

For each line count N it writes OUTDIR/a-N.txt and OUTDIR/b-N.txt: lines of about 50 bytes of
made-up but word-like words, LF line ends. The second file is the first with about 10% of its
lines changed: some edited by a word or two, some removed, some new ones inserted. About 4% of
the lines of the first file repeat an earlier line (an empty line or a copy), so duplicates occur
on both sides. The same seed always gives the same files, byte for byte.

On request it also writes pairs that stress other shapes of text, named KIND-a-N.txt and
KIND-b-N.txt:
  differ      N lines of the same kind in each file, no line of one found in the other;
  words-line  one line of about N bytes of words, the second with about 10% of its words changed;
  x-line      one line of N "x", the second with a few letters changed;
  short       N short lines in each file ("a" or "b" and a number in letters and digits), no line
              of one found in the other: every line of both is red;
  zero-width  about N bytes of lines of one zero-width space (U+200B) each, against a file of
              two empty lines and an "x": every line of the first is red and a look-alike.

Only the standard library is used, and of the random generator only random(), whose sequence for
a given integer seed has not changed across Python 3 releases.
"""

import argparse
import os
import random
import sys

DEFAULT_LINES = (100_000, 1_000_000)
DEFAULT_SEED = 20210831

ONSETS = ("b", "c", "d", "f", "g", "h", "k", "l", "m", "n", "p", "r", "s", "t", "v", "w",
          "br", "ch", "cl", "dr", "fl", "gr", "pl", "pr", "sh", "st", "th", "tr")
VOWELS = ("a", "e", "i", "o", "u", "ai", "ea", "ee", "ou")
CODAS = ("", "", "", "n", "r", "s", "t", "l", "nd", "st", "ng")
COMMON = ("the", "of", "and", "to", "a", "in", "is", "it", "that", "for", "on", "was", "with",
          "as", "be", "at", "by", "this", "from", "or", "not", "are", "but", "have", "which")


def pick(rng, items):
    return items[int(rng.random() * len(items))]


def make_vocabulary(rng, size):
    words = set()
    while len(words) < size:
        syllables = 1 + int(rng.random() * 3)
        words.add("".join(pick(rng, ONSETS) + pick(rng, VOWELS) + pick(rng, CODAS)
                          for _ in range(syllables)))
    return sorted(words)


class Writer:
    """Makes lines of words, common words more often than rare ones."""

    def __init__(self, rng):
        self.rng = rng
        self.vocabulary = make_vocabulary(rng, 4000)

    def word(self):
        rng = self.rng
        if rng.random() < 0.3:
            return pick(rng, COMMON)
        # Squaring skews the choice towards the front of the list.
        word = self.vocabulary[int(rng.random() ** 2 * len(self.vocabulary))]
        roll = rng.random()
        if roll < 0.05:
            return word.capitalize()
        if roll < 0.09:
            return word + ","
        return word

    def line(self):
        target = 28 + int(self.rng.random() * 39)  # stops after reaching it: about 50 on average
        words = [self.word()]
        length = len(words[0])
        while length < target:
            words.append(self.word())
            length += 1 + len(words[-1])
        return " ".join(words)

    def edited(self, line):
        """The line with a word or two replaced, inserted or removed."""
        rng = self.rng
        words = line.split(" ")
        for _ in range(1 + int(rng.random() * 2)):
            at = int(rng.random() * len(words))
            roll = rng.random()
            if roll < 0.6 or len(words) < 3:
                words[at] = self.word()
            elif roll < 0.8:
                words.insert(at, self.word())
            else:
                del words[at]
        result = " ".join(words)
        return result if result != line else result + " " + self.word()


def make_pair(count, seed):
    """The lines of the two files for `count` lines and `seed`."""
    rng = random.Random(seed * 1_000_003 + count)
    writer = Writer(rng)
    first = []
    for _ in range(count):
        roll = rng.random()
        if roll < 0.01:
            first.append("")
        elif roll < 0.04 and first:
            # A copy of a recent line, as repeated statements or boilerplate would be.
            first.append(first[max(0, len(first) - 1 - int(rng.random() * 1000))])
        else:
            first.append(writer.line())
    second = []
    for line in first:
        roll = rng.random()
        if roll < 0.05:
            second.append(writer.edited(line))
        elif roll < 0.075:
            pass  # removed
        elif roll < 0.10:
            second.append(line)
            second.append(writer.line())  # inserted
        else:
            second.append(line)
    return first, second


def make_all_differ_pair(count, seed):
    """Two texts of `count` lines each that have no line in common."""
    rng = random.Random(seed * 1_000_003 + count + 1 * 10**12)
    writer = Writer(rng)
    first = [writer.line() for _ in range(count)]
    taken = set(first)
    second = []
    while len(second) < count:
        line = writer.line()
        if line not in taken:
            second.append(line)
    return first, second


def make_words_line_pair(size, seed):
    """One line of about `size` bytes of words each, the second with about 10% of them changed."""
    rng = random.Random(seed * 1_000_003 + size + 2 * 10**12)
    writer = Writer(rng)
    words = []
    length = -1
    while length < size:
        words.append(writer.word())
        length += 1 + len(words[-1])
    changed = list(words)
    for at in range(len(changed)):
        if rng.random() < 0.1:
            while changed[at] == words[at]:
                changed[at] = writer.word()
    return [" ".join(words)], [" ".join(changed)]


def make_x_line_pair(size, seed):
    """One line of `size` x, the second with a few of them changed to other letters."""
    rng = random.Random(seed * 1_000_003 + size + 3 * 10**12)
    changed = bytearray(b"x" * size)
    for _ in range(5):
        changed[int(rng.random() * size)] = ord(pick(rng, "abcdefghijklmnopqrstuvwyz"))
    return ["x" * size], [changed.decode("ascii")]


DIGITS62 = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"


def make_short_lines_pair(count, seed):
    """`count` lines of a letter and four or more digits of base 62 each, all different."""
    del seed  # nothing random: the lines are numbered
    width = 4
    while 62 ** width < count:
        width += 1

    def number(i):
        digits = []
        for _ in range(width):
            i, digit = divmod(i, 62)
            digits.append(DIGITS62[digit])
        return "".join(digits)

    return ["a" + number(i) for i in range(count)], ["b" + number(i) for i in range(count)]


def make_zero_width_pair(size, seed):
    """About `size` bytes of lines of one U+200B (four bytes in UTF-8 with the LF) against
    two empty lines and an "x"."""
    del seed
    return ["\u200b"] * max(1, size // 4), ["", "", "x"]


PAIR_KINDS = {
    "short": make_short_lines_pair,
    "zero-width": make_zero_width_pair,
    "differ": make_all_differ_pair,
    "words-line": make_words_line_pair,
    "x-line": make_x_line_pair,
}


def write_lines(path, lines):
    temporary = path + ".part"
    with open(temporary, "w", encoding="utf-8", newline="\n") as out:
        out.write("\n".join(lines))
        out.write("\n")
    os.replace(temporary, path)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("outdir", help="folder to write the files into (made if missing)")
    parser.add_argument("--lines", type=int, nargs="+", metavar="N",
                        help=f"line counts (default: {list(DEFAULT_LINES)} when no pair of "
                        "another kind is asked for)")
    parser.add_argument("--all-differ", type=int, nargs="+", default=[], metavar="N",
                        help="line counts of pairs with no line in common")
    parser.add_argument("--words-line", type=int, nargs="+", default=[], metavar="BYTES",
                        help="sizes of pairs of one long line of words")
    parser.add_argument("--x-line", type=int, nargs="+", default=[], metavar="N",
                        help="sizes of pairs of one long line of x")
    parser.add_argument("--short-lines", type=int, nargs="+", default=[], metavar="N",
                        help="line counts of pairs of short lines, all different")
    parser.add_argument("--zero-width", type=int, nargs="+", default=[], metavar="BYTES",
                        help="sizes of files of zero-width lines (against a tiny file)")
    parser.add_argument("--seed", type=int, default=DEFAULT_SEED,
                        help="random seed (default: %(default)s)")
    args = parser.parse_args(argv)
    others = {"differ": args.all_differ, "words-line": args.words_line, "x-line": args.x_line,
              "short": args.short_lines, "zero-width": args.zero_width}
    if args.lines is None:
        args.lines = [] if any(others.values()) else list(DEFAULT_LINES)
    if any(n < 1 for n in args.lines + sum(others.values(), [])):
        parser.error("line counts and sizes must be positive")
    os.makedirs(args.outdir, exist_ok=True)
    for count in args.lines:
        write_pair(args.outdir, "", count, make_pair(count, args.seed))
    for kind, sizes in others.items():
        for size in sizes:
            write_pair(args.outdir, kind + "-", size, PAIR_KINDS[kind](size, args.seed))
    return 0


def write_pair(outdir, prefix, size, pair):
    for side, lines in zip("ab", pair):
        path = os.path.join(outdir, f"{prefix}{side}-{size}.txt")
        write_lines(path, lines)
        print(f"{path}: {len(lines)} lines, {os.path.getsize(path)} bytes")


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
