# Random property lists written by Python's plistlib, binary and XML, converted in place by our plutil and
# read back by plistlib: every value must come back, dates to the whole second rounded down, and a file
# the tool refuses must be left byte for byte as it was. Every read of the bookmarks file converts it
# again, so the converted file must also convert to itself.
# Usage: plistlib_compare.py PLUTIL FOLDER SEED COUNT
import datetime
import math
import os
import plistlib
import struct
import subprocess
import sys
import random

EPOCH = datetime.datetime(2001, 1, 1)
FIRST = datetime.datetime(1, 1, 1)
LAST = datetime.datetime(9999, 12, 31, 23, 59, 59)  # a fraction more rounds to the year 10000 as a double
# XML input is still parsed by libplist, which keeps dates to 32 bits of seconds and writes integers from
# 2^63 up as negative; our own XML reader keeps both. Until it is in, XML input (plistlib's XML, and every
# converted file converted again) is checked only with values inside those ranges. Set to True with it.
XML_FULL_RANGE = True


def text(rng):
    pick = [lambda: chr(rng.randrange(0x20, 0x7F)), lambda: rng.choice('&<>\t\n]]>'),
            lambda: chr(rng.randrange(0xA0, 0xD800)), lambda: chr(rng.randrange(0xE000, 0xFFFE)),
            lambda: chr(rng.randrange(0x10000, 0x110000))]
    # A CR is kept raw, as the Mac form has it; an XML parser such as plistlib's reads it as a LF.
    return ''.join(rng.choice(pick)() for _ in range(rng.randrange(12)))


def date(rng, full):
    edge = datetime.timedelta(seconds=2**31)  # where 32 bits of seconds end
    around = rng.choice([EPOCH, EPOCH + edge, EPOCH - edge])
    if full and rng.random() < 0.5:
        return rng.choice([FIRST, LAST, FIRST + (LAST - FIRST) * rng.random()])
    step = datetime.timedelta(microseconds=rng.randrange(-5_000_000, 5_000_000))
    if not full:
        around = EPOCH + datetime.timedelta(seconds=rng.randrange(-2**31 + 10, 2**31 - 10))
    return around + step


def integer(rng, full):
    if full:
        return rng.choice([rng.randrange(-2**63, 2**64), 2**63 - 1, 2**63, 2**64 - 1, -2**63,
                           rng.randrange(-300, 300)])
    return rng.choice([rng.randrange(-2**63, 2**63), 2**63 - 1, -2**63, rng.randrange(-300, 300)])


def real(rng):
    return rng.choice([rng.uniform(-1e300, 1e300), rng.random(), 0.1, -0.0, 5e-324, math.inf, -math.inf,
                       math.nan])


def tree(rng, binary, full, depth=0):
    kinds = ['str', 'int', 'real', 'date', 'data', 'bool'] + ['uid'] * binary
    kinds += ['array', 'dict'] * (depth < 4)
    kind = rng.choice(kinds)
    if kind in ('array', 'dict'):
        items = [tree(rng, binary, full, depth + 1) for _ in range(rng.randrange(6))]
        return items if kind == 'array' else {text(rng): item for item in items}
    return {'str': lambda: text(rng), 'int': lambda: integer(rng, full), 'real': lambda: real(rng),
            'date': lambda: date(rng, full), 'data': lambda: rng.randbytes(rng.randrange(100)),
            'bool': lambda: rng.random() < 0.5, 'uid': lambda: plistlib.UID(rng.randrange(2**64))}[kind]()


def norm(value, binary):
    """A value as it must come back: types kept apart (True is no 1), NaN equal to itself, a UID as the
    one-key dictionary the XML form writes, a date to the whole second below what the file held."""
    if isinstance(value, bool):
        return ('bool', value)
    if isinstance(value, int):
        return ('int', value)
    if isinstance(value, float):
        return ('real', 'nan' if math.isnan(value) else struct.pack('>d', value))
    if isinstance(value, datetime.datetime):
        if binary:  # plistlib writes the seconds as a double
            return ('date', EPOCH + datetime.timedelta(seconds=math.floor((value - EPOCH).total_seconds())))
        return ('date', value.replace(microsecond=0))
    if isinstance(value, plistlib.UID):
        return ('dict', [('CF$UID', ('int', value.data))])
    if isinstance(value, dict):
        return ('dict', sorted((key, norm(item, binary)) for key, item in value.items()))
    if isinstance(value, list):
        return ('array', [norm(item, binary) for item in value])
    return (type(value).__name__, value)


def convert(plutil, path):
    return subprocess.run([plutil, '-convert', 'xml1', path], capture_output=True, text=True, timeout=60)


def check(plutil, folder, name, value, binary, refused):
    """Empty when the file converts (or is refused) as it must; else what went wrong."""
    path = os.path.join(folder, name)
    original = plistlib.dumps(value, fmt=plistlib.FMT_BINARY if binary else plistlib.FMT_XML)
    with open(path, 'wb') as file:
        file.write(original)
    result = convert(plutil, path)
    with open(path, 'rb') as file:
        written = file.read()
    if refused:
        if result.returncode == 0 or written != original:
            return 'not refused, or changed when refused: ' + result.stderr
        return ''
    if result.returncode != 0:
        return 'refused: ' + result.stderr
    if norm(plistlib.loads(written), binary) != norm(value, binary):
        return 'values changed:\n' + written.decode('utf-8', 'replace')
    if XML_FULL_RANGE or not binary:  # converting again reads XML
        again = convert(plutil, path)
        with open(path, 'rb') as file:
            if again.returncode != 0 or file.read() != written:
                return 'converted again, changed: ' + again.stderr
    return ''


def main():
    plutil, folder, seed, count = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    rng = random.Random(seed)
    failures = []
    for i in range(count):
        for binary in (True, False):
            full = binary or XML_FULL_RANGE
            value = tree(rng, binary, full)
            refused = False
            if binary and i % 5 == 0:  # XML 1.0 has no form for these: the file is refused
                bad = rng.choice(['\0', '\x01', '\x08', '\x0b', '\x0c', '\x1b', '\x1f', '\ufffe', '\uffff'])
                value = {text(rng) + bad: value} if rng.random() < 0.5 else [value, bad + text(rng)]
                refused = True
            why = check(plutil, folder, 'case.plist', value, binary, refused)
            if why:
                failures.append(f'seed {seed} case {i} {"binary" if binary else "XML"}: {why}\n{value!r}')
        leftovers = sorted(set(os.listdir(folder)) - {'case.plist'})
        if leftovers:
            failures.append(f'case {i} left files behind: {leftovers}')
            break
    print('\n\n'.join(failures[:5]))
    print(f'{len(failures)} of {2 * count} conversions wrong')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
