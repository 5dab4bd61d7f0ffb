// ext_BM.js as the real client writes it under the ANSI code pages 1252, 1251 and 932,
// read by the sample's favorites.js after decoding the file in each of the charsets a
// dictionary's pages declare: every name and topic comes back exactly.
"use strict";
const test = require("node:test");
const assert = require("node:assert");
const fs = require("fs");
const os = require("os");
const path = require("path");
const { RunClient, Favourites, FavoriteGroupsOf } = require("./Pages.js");

// Each locale with its code page's reading of the byte 0xC0, which an old file holds.
const Locales = [
  { locale: "C.UTF-8", codePage: 1252, byteC0: "\\u00C0" },
  { locale: "ru_RU.UTF-8", codePage: 1251, byteC0: "\\u0410" },
  { locale: "ja_JP.UTF-8", codePage: 932, byteC0: "\\uFF80" },
];
const Charsets = ["windows-1252", "windows-1251", "shift_jis"];

for (const { locale, codePage, byteC0 } of Locales) {
  test("a file written under code page " + codePage + " reads back in every charset", () => {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), "varnholt-charset-"));
    try {
      // A file written before, in the code page: a comment holding the byte 0xC0.
      const file = path.join(folder, "ext_BM.js");
      fs.writeFileSync(file, Buffer.from(";var ext_BM=\"\"\r\n// \xC0\r\n", "latin1"));
      const helpFile = "Z:" + folder.replace(/\//g, "\\") + "\\Sample.chm";
      for (const { name, topic } of Favourites)
        assert.strictEqual(RunClient("/bmadd" + name + "=mk:@MSITStore:" + helpFile + "::/" +
                                     topic, locale), 0, "/bmadd " + name);
      const bytes = fs.readFileSync(file);
      const high = bytes.findIndex((b) => b > 0x7F);
      assert.strictEqual(high, -1, "a byte above 127 at " + high + ": " + bytes.toString("latin1"));
      // The old line was read in this code page, and the client ran in it.
      assert.ok(bytes.toString("latin1").startsWith(";var ext_BM=\"\"\r\n// " + byteC0 + "\r\n"),
                bytes.toString("latin1"));
      for (const charset of Charsets) {
        const text = new TextDecoder(charset).decode(bytes);
        assert.deepStrictEqual(FavoriteGroupsOf(text),
                               [{ helpFile: "Sample", entries: Favourites }], "read as " + charset);
      }
    } finally {
      fs.rmSync(folder, { recursive: true, force: true });
    }
  });
}
