// The client and the sample's pages agree on every line of ext_BM.js. Random old files
// of mixed lines (raw backslashes an older client wrote, escapes of every kind, comments,
// extra headers in any case, "[" items with and without "]", sections that appear twice,
// lines every engine refuses, CR, LF and CR LF ends) are changed by the real client with
// one /bmadd and one /bmdel. What favorites.js then lists in node must be exactly what a
// real ECMAScript 3 parser (acorn) read in the old file, merged and changed as the
// requests say; and a /bmdel of any listed name removes exactly the first of that name.
"use strict";
const test = require("node:test");
const assert = require("node:assert");
const fs = require("fs");
const os = require("os");
const path = require("path");
const acorn = require("/usr/share/nodejs/acorn");
const { RunClient, FavoriteGroupsOf } = require("./Pages.js");

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
               "Server/Verbindung", "tail ", "x"];
const Sections = ["Quillbay", "QUILLBAY", "Other", "Dict.CHM", "\u00c4"];
const Topics = ["a.htm", "b/c.htm", "q.htm?x=1", "\u00e9.htm"];

const Hex = (code, digits) => code.toString(16).toUpperCase().padStart(digits, "0");

// One character inside a string literal, in one of the forms an engine reads as it.
function Written(c) {
  const code = c.charCodeAt(0);
  const forms = ["\\u" + Hex(code, 4)];
  if (code < 256)
    forms.push("\\x" + Hex(code, 2), "\\" + code.toString(8).padStart(3, "0"));
  if (c === "\"" || c === "\\" || c === "'")
    forms.push("\\" + c);
  else if (c === "\t")
    forms.push("\\t");
  else if (code >= 0x20 && code !== 0x7f && code < 0x100)
    forms.push(c, c, c); // raw, in the file's code page (1252)
  if (/[ACDEGHIJKLMOPQSTWYZacdeghijklmopqswyz]/.test(c))
    forms.push("\\" + c); // an older client's raw backslash before a letter
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

// A line as an ECMAScript 3 engine reads it after the header: an item's text (without its
// closing U+0001), a comment or a header; nothing when the engine refuses it, or when it
// is not one string ending in U+0001 and holding no other (the file's format).
function ReadLine(raw) {
  const line = raw.replace(/^[ \t]+|[ \t]+$/g, "");
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
      const lines = [Pick([";var ext_BM=\"\"", ";VAR EXT_BM=\"\""])];
      if (Random() < 0.8) // most entries stand in a section that the pages list
        lines.push(Item("[" + Pick(["Quillbay", "quillbay", "Other"]) + "]"));
      for (let n = Math.floor(Random() * 20); n > 0; --n)
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
      const name = Pick(listed);
      assert.strictEqual(RunClient("/bmdel" + name + "=" + location), 0, shown);
      Change(sections, "Quillbay", name);
      text = fs.readFileSync(file, "latin1");
      assert.deepStrictEqual(FavoriteGroupsOf(text), Groups(sections), "after /bmdel " + name);
    }
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

test("an old file with a header in capitals and raw and escaped backslashes keeps every " +
     "favourite the pages listed, and loads after a change", () => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), "varnholt-agree-"));
  const file = path.join(folder, "ext_BM.js");
  try {
    const lines = ["+\"[Quillbay]\u0001\"", "+\"AC\\DC=html/a.htm\u0001\"",
                   "+\"Tab\\there=b.htm\u0001\"", "+\"\\x41\\101=c.htm\u0001\"",
                   "+\"O\\'Brien=d.htm\u0001\""];
    const before = [{ helpFile: "Quillbay", entries: [
      { name: "ACDC", topic: "html/a.htm" }, { name: "Tab\there", topic: "b.htm" },
      { name: "AA", topic: "c.htm" }, { name: "O'Brien", topic: "d.htm" }] }];
    // As the pages read it with a sound header: the client's reading of the file.
    assert.deepStrictEqual(FavoriteGroupsOf([";var ext_BM=\"\""].concat(lines).join("\r\n")),
                           before);
    fs.writeFileSync(file, [";VAR EXT_BM=\"\""].concat(lines).join("\r\n"), "latin1");
    const location = "=mk:@MSITStore:Z:" + folder.replace(/\//g, "\\") + "\\Quillbay.chm::/";
    assert.strictEqual(RunClient("/bmaddNew" + location + "e.htm"), 0);
    before[0].entries.push({ name: "New", topic: "e.htm" });
    assert.deepStrictEqual(FavoriteGroupsOf(fs.readFileSync(file, "latin1")), before);
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
});
