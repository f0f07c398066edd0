#!/usr/bin/python3
"""Rewrites a ZIP so that every reader on Windows shows its Chinese names: each name is written
in code page 936, as Windows 7's own ZIP folder reads a name (in the system's OEM code page, 936
on Chinese Windows, whatever the UTF-8 flag says), and again in UTF-8 in the Info-ZIP Unicode
Path field (0x7075), which 7-Zip, WinRAR, Bandizip and Windows 10's ZIP folder take instead.
Usage: zipnames.py FILE.zip"""
import os
import struct
import sys
import zipfile
import zlib

UNICODE_PATH = 0x7075
UTF8_FLAG = 0x800


class Entry(zipfile.ZipInfo):
    __slots__ = ()

    def _encodeFilenameFlags(self):
        return self.filename.encode("cp936"), self.flag_bits & ~UTF8_FLAG


def copy(source, target):
    with zipfile.ZipFile(source) as old, zipfile.ZipFile(target, "w") as new:
        for info in old.infolist():
            entry = Entry(info.filename, info.date_time)
            entry.compress_type = info.compress_type
            entry.create_system = info.create_system
            entry.external_attr = info.external_attr
            if not info.filename.isascii():
                name = info.filename.encode("utf-8")
                legacy = info.filename.encode("cp936")
                entry.extra = struct.pack("<HHBI", UNICODE_PATH, 5 + len(name), 1, zlib.crc32(legacy)) + name
            new.writestr(entry, old.read(info))


def main():
    zip_file = sys.argv[1]
    rewritten = zip_file + ".names"
    copy(zip_file, rewritten)
    os.replace(rewritten, zip_file)


main()
