// The client and the sample's pages agree on every line of ext_BM.js. Random old files
// of mixed lines (raw backslashes an older client wrote, escapes of every kind, comments,
// extra headers in any case, "[" items with and without "]", sections that appear twice,
// lines every engine refuses, CR, LF and CR LF ends) are changed by the real client with
// one /bmadd and one /bmdel. What favorites.js then lists must be exactly what a real
// ECMAScript 3 parser (acorn) read in the old file as the viewer's engine reads it, merged
// and changed as the requests say; a /bmdel of any listed name removes exactly it. What the
// client writes under code pages 1252, 1251 and 932 reads back in every page's charset.
"use strict";
const test = require("node:test");
const assert = require("node:assert");
const fs = require("fs");
const os = require("os");
const path = require("path");
const acorn = require("/usr/share/nodejs/acorn");
const { RunClient, Favourites, InJScript, FavoriteGroupsOf } = require("./Pages.js");

// A fixed seed: a failure comes back the same way (mulberry32).
let seed = 20261208;
function Random() {
  seed = (seed + 0x6d2b79f5) | 0;
  let t = Math.imul(seed ^ (seed >>> 15), 1 | seed);
  t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
  return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
}
const Pick = (list) => list[Math.floor(Random() * list.length)];

const Names = ["Word", "word", "O'Brien", "say \"hi\"", "t\tab", "\u00c4rger", "\u0421\u043b\u043e\u0432\u043e",
               "Server/Verbindung", "vital ", "x"];
const Sections = ["Quillbay", "QUILLBAY", "Other", "Dict.CHM", "\u00c4"];
// No "0": a raw "\0" is a NUL, which Wine's JScript ends a string's split at.
const Topics = ["a.htm", "v/vocab.htm", "q.htm?x=1&n=23456789", "\u00e9.htm"];

const Hex = (code, digits) => code.toString(16).toUpperCase().padStart(digits, "0");

// One character inside a string literal, in one of the forms an engine reads as it, or after
// an older client's raw backslash (which may begin an escape: "\n", "\1").
function Written(c) {
  const code = c.charCodeAt(0);
  const forms = ["\\u" + Hex(code, 4)];
  if (code < 256)
    forms.push("\\x" + Hex(code, 2), "\\" + code.toString(8).padStart(3, "0"));
  if (c === "\"" || c === "\\" || c === "'")
    forms.push("\\" + c);
  else if (code >= 0x20 && code !== 0x7f && code < 0x100)
    forms.push(c, c, c); // raw, in the file's code page (1252)
  if (/[A-Za-z0-9]/.test(c))
    forms.push("\\" + c); // as in "C:\vocab"
  return Pick(forms);
}

function Item(text) {
  return "+\"" + Array.from(text + "\u0001").map(Written).join("") + "\"";
}

function RandomLine() {
  switch (Math.floor(Random() * 10)) {
  case 0: return Pick([";var ext_BM=\"\"", ";VAR EXT_BM=\"\"", ";Var Ext_bm=\"\""]);
  case 1: return "// " + Pick(Names) + " " + Pick(Topics);
  case 2: case 3: return Item("[" + Pick(Sections) + (Random() < 0.9 ? "]" : ""));
  case 4: // refused by every engine: a broken escape, a raw quote, a backslash at the end
    return Pick(["+\"" + Pick(Names) + "=\\x4G\u0001\"", "+\"a\"1=b\u0001\"",
                 "+\"" + Pick(Topics) + "\u0001\\\""]);
  case 5: return "";
  default: return Item(Pick(Names) + "=" + Pick(Topics));
  }
}

// A line as the viewer's engine reads it after the header: an item's text (without its
// closing U+0001), a comment or a header; nothing when the engine refuses it, or when it
// is not one string ending in U+0001 and holding no other (the file's format). There
// "\v" is "v", where acorn reads U+000B.
function ReadLine(raw) {
  const line = raw.replace(/^[ \t]+|[ \t]+$/g, "")
    .replace(/\\[\s\S]/g, (pair) => pair === "\\v" ? "v" : pair);
  if (/^;var ext_BM=""$/i.test(line))
    return { header: true };
  if (line.startsWith("//"))
    return { comment: true };
  if (!line.startsWith("+\"") || !line.endsWith("\""))
    return null;
  try {
    const right = acorn.parse("x=\"\"\n" + line, { ecmaVersion: 3 }).body[0].expression.right;
    const text = right.right.value;
    if (right.operator === "+" && right.left.value === "" && right.right.type === "Literal" &&
        typeof text === "string" && text.indexOf("\u0001") === text.length - 1)
      return { item: text.slice(0, -1) };
  } catch (error) {
    // refused by the engine
  }
  return null;
}

// What the pages list for these items: sections merged (in their first place), entries
// "name=topic" with a name; a section without "]" is no help file's.
function Listing(items) {
  const sections = [];
  let current = null;
  for (const item of items) {
    if (item.startsWith("[")) {
      current = sections.find((s) => s.key === item.toLowerCase());
      if (!current)
        sections.push(current = { key: item.toLowerCase(), text: item, items: [] });
    } else if (current) {
      current.items.push(item);
    }
  }
  return sections;
}

function IsEntryOf(item, name) {
  const equals = item.indexOf("=");
  return equals >= 0 && item.slice(0, equals).replace(/ +$/, "").toLowerCase() ===
    name.replace(/ +$/, "").toLowerCase();
}

// /bmadd (with a topic) or /bmdel of name in the section of the help file.
function Change(sections, section, name, topic) {
  let own = sections.find((s) => s.key === "[" + section.toLowerCase() + "]");
  if (!own && topic === undefined)
    return;
  if (!own)
    sections.push(own = { key: "[" + section.toLowerCase() + "]", text: "[" + section + "]", items: [] });
  const at = own.items.findIndex((item) => IsEntryOf(item, name));
  if (topic === undefined && at >= 0)
    own.items.splice(at, 1);
  else if (at >= 0)
    own.items[at] = name + "=" + topic;
  else if (topic !== undefined)
    own.items.push(name + "=" + topic);
}

function Groups(sections) {
  return sections.filter((s) => s.text.length > 1 && s.text.endsWith("]")).map((s) => ({
    helpFile: s.text.slice(1, -1),
    entries: s.items.filter((item) => item.indexOf("=") > 0).map((item) => ({
      name: item.slice(0, item.indexOf("=")), topic: item.slice(item.indexOf("=") + 1) })),
  }));
}

test("what the client keeps is what the pages list, and /bmdel of a listed name removes it",
     () => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), "varnholt-agree-"));
  const file = path.join(folder, "ext_BM.js");
  const location = "mk:@MSITStore:Z:" + folder.replace(/\//g, "\\") + "\\Quillbay.chm::/";
  try {
    for (let run = 0; run < 20; ++run) {
      // The first file holds an older client's raw "C:\vocab", which the viewer's engine
      // lists as the favourite "C:vocab"; the others are random.
      const lines = run > 0 ? [Pick([";var ext_BM=\"\"", ";VAR EXT_BM=\"\""])]
        : [";var ext_BM=\"\"", Item("[Quillbay]"), "+\"C:\\vocab=html\\vocab.htm\u0001\""];
      if (run > 0 && Random() < 0.8) // most entries stand in a section that the pages list
        lines.push(Item("[" + Pick(["Quillbay", "quillbay", "Other"]) + "]"));
      for (let n = run > 0 ? Math.floor(Random() * 20) : 0; n > 0; --n)
        lines.push(RandomLine());
      let old = lines[0];
      for (const line of lines.slice(1))
        old += Pick(["\r\n", "\n", "\r"]) + line;
      fs.rmSync(file, { force: true });
      fs.writeFileSync(file, old, "latin1"); // every character of it is below U+0100
      const read = lines.map(ReadLine);
      const items = read.filter((r) => r && r.item !== undefined).map((r) => r.item);
      const sections = Listing(items);
      const shown = "file " + run + ":\n" + old.replace(/\r\n?/g, "\n");
      if (run === 0 && InJScript()) // the model reads the file as the viewer's engine does
        assert.deepStrictEqual(FavoriteGroupsOf(old), Groups(sections), shown);

      const added = Pick(["Word", "Neu/Eintrag", "O'Brien"]);
      const removed = Pick(["word", "x", "Server/Verbindung", "absent"]);
      assert.strictEqual(RunClient("/bmadd" + added + "=" + location + "n.htm"), 0, shown);
      assert.strictEqual(RunClient("/bmdel" + removed + "=" + location), 0, shown);
      Change(sections, "Quillbay", added, "n.htm");
      Change(sections, "Quillbay", removed);
      let text = fs.readFileSync(file, "latin1");
      assert.deepStrictEqual(FavoriteGroupsOf(text), Groups(sections), shown + "\n--- new\n" + text);
      assert.ok(text.startsWith(";var ext_BM=\"\"\r\n") &&
                text.indexOf(";var", 1) < 0 && text.indexOf(";VAR") < 0, text);

      // A listed name that a command line carries as it stands (Wine would quote a tab or a
      // quote, and an empty argument between two blanks).
      const listed = FavoriteGroupsOf(text).filter((g) => g.helpFile.toLowerCase() === "quillbay")
        .flatMap((g) => g.entries).map((e) => e.name).filter((n) => !/[\t"]|  /.test(n));
      if (listed.length === 0)
        continue;
      const name = run === 0 ? "C:vocab" : Pick(listed);
      assert.strictEqual(RunClient("/bmdel" + name + "=" + location), 0, shown);
      Change(sections, "Quillbay", name);
      text = fs.readFileSync(file, "latin1");
      assert.deepStrictEqual(FavoriteGroupsOf(text), Groups(sections), "after /bmdel " + name);
    }
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

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
      for (const charset of Charsets)
        assert.deepStrictEqual(FavoriteGroupsOf(new TextDecoder(charset).decode(bytes)),
                               [{ helpFile: "Sample", entries: Favourites }], "read as " + charset);
    } finally {
      fs.rmSync(folder, { recursive: true, force: true });
    }
  });
}
