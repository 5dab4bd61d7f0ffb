// The pages' side of the tests: the real Varnholt.exe started as a page starts it (under
// the test bed's Wine, in a chosen locale and so ANSI code page), and the sample's own
// scripts run in node and in Wine's JScript on what the client wrote.
"use strict";
const { spawnSync } = require("child_process");
const fs = require("fs");
const path = require("path");
const vm = require("vm");
const assert = require("node:assert");
const acorn = require("/usr/share/nodejs/acorn");

const Sample = path.join(__dirname, "..", "..", "sample");

function Setting(name) {
  const value = process.env[name];
  if (!value)
    throw new Error(name + " is not set (CTest sets it; see cmake/Pages.cmake)");
  return value;
}

// Runs the client with this command line (after its own name) and returns its exit code.
// Wine joins its arguments with one blank each, so a line without quotes or runs of blanks
// reaches the client exactly as written.
function RunClient(commandLine, locale) {
  const env = Object.assign({}, process.env, { LC_ALL: locale || "C.UTF-8" });
  const run = spawnSync(Setting("VARNHOLT_WINE_RUN"),
                        [Setting("VARNHOLT_TESTBED"), Setting("VARNHOLT_EXE")]
                          .concat(commandLine.split(" ")),
                        { env, timeout: 60000, encoding: "utf8" });
  if (run.error)
    throw run.error;
  return run.status;
}

// The favourites names a reader gives, each with a topic of its own: several scripts, a
// character beyond U+FFFF, one whose code-page bytes hold a backslash (0x5C in code page
// 932), and markup, quotes and ampersands that a page must keep as text.
const Favourites = ["caf\u00e9", "Stra\u00dfe", "\u0421\u043b\u043e\u0432\u043e",
                    "\u039b\u039f\u0393\u039f\u03a3", "\u65e5\u672c", "\u8868",
                    "\ud83d\ude00", "O'Brien", "<b>x</b>", "a&b"]
  .map((name) => ({ name, topic: "html/" + name + ".htm" }));

// Whether this run's engine (Pages.cmake runs each test in two) is node or the viewer's kind,
// Wine's JScript (cscript.exe: JScript 5.8 without the ES5 library, "\v" the letter v).
const InJScript = () => Setting("VARNHOLT_PAGE_ENGINE") === "jscript";

// An expression's value in a page at this address that included ext_BM.js of this text (in
// ASCII, as the client writes it), in this run's engine.
function RunInPage(expression, { href = "", fileText = "" } = {}) {
  const source = ["client.js", "favorites.js", "../tests/pages/PageStub.js"]
    .map((name) => fs.readFileSync(path.join(Sample, name), "latin1"))
    .concat("location.href = unescape('" + escape(href) + "')", fileText,
            "WScript.Echo(Json((" + expression + ")))").join("\n");
  const file = "/tmp/varnholt-page-script-" + process.pid + ".js";
  fs.writeFileSync(file, source, "latin1");
  const printed = !InJScript() ? vm.runInNewContext(source, { WScript: { Echo: (text) => text } })
    : spawnSync(Setting("VARNHOLT_WINE_RUN"), [Setting("VARNHOLT_TESTBED"), "cscript.exe", "//nologo",
                "Z:" + file.replace(/\//g, "\\")], { encoding: "utf8", timeout: 60000 }).stdout;
  fs.rmSync(file);
  return JSON.parse(printed || assert.fail("the script failed: " + expression),
                    (key, value) => typeof value === "string" ? unescape(value) : value);
}

// What the sample's favorites.js lists for an ext_BM.js of this text.
const FavoriteGroupsOf = (fileText) => RunInPage("FavoriteGroups()", { fileText });

// Fails the test unless code parses as ECMAScript 3, which also refuses reserved words as
// property names (obj.class, { default: 1 }).
function ParseEs3(code, where) {
  try {
    acorn.parse(code, { ecmaVersion: 3, allowReserved: "never" });
  } catch (error) {
    assert.fail(where + ": " + error.message);
  }
}

module.exports = { Sample, RunClient, Favourites, InJScript, RunInPage, FavoriteGroupsOf, ParseEs3 };
