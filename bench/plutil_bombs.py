# Hostile binary property lists at full size, each converted by plutil beside a regular bookmarks file:
# time, peak memory, exit status, and whether the file was left byte for byte. Run by hand:
#   python3 bench/plutil_bombs.py build/release/bin/plutil
import os
import plistlib
import struct
import subprocess
import sys
import tempfile
import uuid


def bplist(objects, ref_size):
    """A binary property list of objects already encoded, the first on top."""
    body, offsets = bytearray(b'bplist00'), []
    for obj in objects:
        offsets.append(len(body))
        body += obj
    table = len(body)
    body += b''.join(struct.pack('>I', at) for at in offsets)
    return bytes(body + bytes(6) + bytes([4, ref_size]) + struct.pack('>QQQ', len(objects), 0, table))


def text_object(text):
    return bytes([0x5F, 0x10, len(text)]) + text.encode()


def count(marker, n):
    return bytes([marker | 0xF, 0x12]) + struct.pack('>I', n)


def refs(indexes, ref_size):
    return b''.join(i.to_bytes(ref_size, 'big') for i in indexes)


def key_copies(n, key_size):
    """One dictionary whose entries all name one long key."""
    return bplist([count(0xD0, n) + refs([1] * n + [2] * n, 2), count(0x50, key_size) + b'k' * key_size, b'\x09'], 2)


def shared_dicts(m, n, one_key):
    """An array of m references to one dictionary of n entries, naming one key or n keys."""
    keys = 1 if one_key else n
    return bplist([count(0xA0, m) + refs([1] * m, 2), count(0xD0, n) + refs([3 + i % keys for i in range(n)] + [2] * n, 2),
                   b'\x09'] + [text_object(f'k{i}') for i in range(keys)], 2)


def shared_folders(size, folders, bookmarks):
    """Folders of bookmarks, each referenced by many Children arrays, padded with unreferenced bytes."""
    objects = [b'']  # the top, written last
    def add(obj):
        objects.append(obj)
        return len(objects) - 1
    keys = {name: add(text_object(name)) for name in
            ('Children', 'URIDictionary', 'URLString', 'WebBookmarkType', 'WebBookmarkUUID', 'title')}
    leaf, uid, url = add(text_object('WebBookmarkTypeLeaf')), add(text_object(str(uuid.uuid4()))), add(text_object('http://example.com'))
    uri = add(b'\xD1' + refs([keys['title'], url], 4))
    marks = [add(b'\xD4' + refs([keys['URIDictionary'], keys['URLString'], keys['WebBookmarkType'], keys['WebBookmarkUUID'], uri, url, leaf, uid], 4))
             for _ in range(bookmarks)]
    inner = add(b'\xD1' + refs([keys['Children']], 4) + refs([add(count(0xA0, bookmarks) + refs(marks, 4))], 4))
    top = count(0xA0, folders) + refs([inner] * folders, 4)
    objects[0] = b'\xD1' + refs([keys['Children']], 4) + refs([add(top)], 4)
    plist = bplist(objects, 4)
    padding = size - len(plist)
    return bplist(objects + [count(0x40, padding) + bytes(padding)], 4)


def regular(bookmarks):
    """A bookmarks file as plistlib writes it, every bookmark its own dictionary."""
    children = [{'URIDictionary': {'title': f'Page {i}'}, 'URLString': f'http://example.com/{i}',
                 'WebBookmarkType': 'WebBookmarkTypeLeaf', 'WebBookmarkUUID': str(uuid.uuid4())} for i in range(bookmarks)]
    return plistlib.dumps({'Children': [{'Children': children, 'Title': 'BookmarksBar'}]}, fmt=plistlib.FMT_BINARY)


def run(plutil, name, data, folder):
    """GNU time measures the peak: a child forked from this process would count its memory too."""
    path, measures = os.path.join(folder, 'Bookmarks.plist'), os.path.join(folder, 'time')
    with open(path, 'wb') as file:
        file.write(data)
    result = subprocess.run(['/usr/bin/time', '-o', measures, '-f', '%e %M', plutil, '-convert', 'xml1', path],
                            capture_output=True, text=True)
    with open(measures) as file:
        seconds, kib = file.read().split()[-2:]
    with open(path, 'rb') as file:
        kept = file.read() == data
    print(f'{name:36} {len(data) / 1024:8.0f} KiB {float(seconds):6.2f} s {int(kib) / 1024:7.1f} MiB  exit '
          f'{result.returncode}, {"left as it was" if kept else "rewritten"}  {result.stderr.strip().split(": ")[-1]}')


def main():
    plutil = os.path.abspath(sys.argv[1])
    cases = [('key copies, 100,000 x 10 KB key', key_copies(100_000, 10_000)),
             ('key copies, 110,000 x 10 KB key', key_copies(110_000, 10_000)),
             ('shared dictionary, 6,000 x 3,000', shared_dicts(6_000, 3_000, True)),
             ('shared dictionary, 12,000 x 6,000', shared_dicts(12_000, 6_000, True)),
             ('shared, 3,000 keys, 6,000 x 3,000', shared_dicts(6_000, 3_000, False)),
             ('shared folders, 16 MiB', shared_folders(16 << 20, 2_000, 1_000)),
             ('regular, 200,000 bookmarks', regular(200_000))]
    print(f'{"file":36} {"size":>12} {"time":>8} {"peak":>11}')
    with tempfile.TemporaryDirectory() as folder:
        for name, data in cases:
            run(plutil, name, data, folder)


if __name__ == '__main__':
    main()
