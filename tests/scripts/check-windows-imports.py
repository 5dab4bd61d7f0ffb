#!/usr/bin/env python3
"""Every function Varnholt.exe imports, at load or delay-loaded, must be in the list of
allowed imports, and none may need a Windows newer than Vista.
  check-windows-imports.py <program.exe> <windows-imports.txt>
A list line is "dll function minimum", minimum the oldest Windows that has the function
(2000, XP, Vista, 7, 8, 8.1, 10)."""
import struct
import sys

WINDOWS = ["2000", "XP", "Vista", "7", "8", "8.1", "10"]
FLOOR = "Vista"


class Image:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        if struct.unpack_from("<H", data, optional)[0] != 0x10B:
            raise ValueError("not a 32-bit PE file")
        self.import_directory = struct.unpack_from("<I", data, optional + 96 + 8)[0]
        self.sections = []
        for i in range(sections):
            o = optional + optional_size + 40 * i
            virtual_size, rva, raw_size, raw = struct.unpack_from("<IIII", data, o + 8)
            self.sections.append((rva, max(virtual_size, raw_size), raw, raw_size))

    def offset(self, rva):
        for start, size, raw, raw_size in self.sections:
            if start <= rva < start + size:
                return raw + rva - start if rva - start < raw_size else None
        return None

    def dword(self, rva):
        o = self.offset(rva)
        return None if o is None or o + 4 > len(self.data) else struct.unpack_from("<I", self.data, o)[0]

    def text(self, rva):
        o = self.offset(rva)
        if o is None:
            return None
        end = self.data.find(b"\0", o, o + 256)
        return None if end < 0 else self.data[o:end].decode("ascii", "replace")

    def names(self, table):
        """The function names of an import name table (ordinals as #n); None if malformed."""
        names = []
        for i in range(4096):
            entry = self.dword(table + 4 * i)
            if entry is None:
                return None
            if entry == 0:
                return names
            name = f"#{entry & 0xFFFF}" if entry & 0x80000000 else self.text(entry + 2)
            if not name:
                return None
            names.append(name)
        return None


def load_time_imports(image):
    imports = []
    for i in range(1024):
        lookup, _, _, name, first = (image.dword(image.import_directory + 20 * i + 4 * k)
                                     for k in range(5))
        if not name:
            break
        imports += [(image.text(name).lower(), f) for f in image.names(lookup or first)]
    return imports


def delay_loaded_imports(image):
    """ld leaves the delay-import directory empty; dlltool's descriptors (attributes 1,
    then the RVAs of the DLL's name, its module handle, its address and name tables) lie
    in the code, so they are found by their shape."""
    imports = []
    data = image.data
    for start, size, raw, raw_size in image.sections:
        for o in range(raw, raw + raw_size - 32, 4):
            attributes, name, module, addresses, table = struct.unpack_from("<5I", data, o)
            if attributes != 1 or 0 in (name, module, addresses, table):
                continue
            dll = image.text(name)
            if not dll or not dll.lower().endswith(".dll") or image.offset(module) is None:
                continue
            functions = image.names(table)
            if functions:
                imports += [(dll.lower(), f) for f in functions]
    return imports


def main(program, list_file):
    allowed = {}
    for number, line in enumerate(open(list_file), 1):
        fields = line.split()
        if not fields or fields[0].startswith("#"):
            continue
        if len(fields) != 3 or fields[2] not in WINDOWS:
            sys.exit(f"{list_file}:{number}: not 'dll function minimum': {line.strip()}")
        allowed[(fields[0].lower(), fields[1])] = fields[2]

    image = Image(open(program, "rb").read())
    load, delayed = load_time_imports(image), delay_loaded_imports(image)
    print(f"{program}: {len(load)} imports at load, {len(delayed)} delay-loaded from",
          " ".join(sorted({dll for dll, _ in delayed})) or "no DLL")
    bad = 0
    for dll, function in sorted(set(load + delayed)):
        minimum = allowed.get((dll, function))
        if minimum is None:
            print(f"not in the list of allowed imports: {dll} {function}")
            bad += 1
        elif WINDOWS.index(minimum) > WINDOWS.index(FLOOR):
            print(f"needs Windows {minimum}, newer than {FLOOR}: {dll} {function}")
            bad += 1
    for dll, function in sorted(set(allowed) - set(load + delayed)):
        print(f"listed but not imported (the line may go): {dll} {function}")
    return 1 if bad else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
