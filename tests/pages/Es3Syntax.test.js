// The viewer runs the pages in its old script engine (ECMAScript 3): every script of the
// sample, in its files and inline in its pages, must parse as ECMAScript 3.
"use strict";
const test = require("node:test");
const assert = require("node:assert");
const fs = require("fs");
const path = require("path");
const { Sample, ParseEs3 } = require("./Pages.js");

function HtmlText(text) {
  return text.replace(/&quot;/g, "\"").replace(/&#39;/g, "'").replace(/&lt;/g, "<")
    .replace(/&gt;/g, ">").replace(/&amp;/g, "&");
}

// Inline scripts, javascript: addresses and event handlers of a page.
function ScriptsOfPage(html) {
  const scripts = [];
  for (const m of html.matchAll(/<script\b([^>]*)>([\s\S]*?)<\/script>/gi))
    if (!/\bsrc=/i.test(m[1]))
      scripts.push(m[2]);
  for (const m of html.matchAll(/\bhref="javascript:([^"]*)"/gi))
    scripts.push(HtmlText(m[1]));
  for (const m of html.matchAll(/\bon[a-z]+="([^"]*)"/gi))
    scripts.push(HtmlText(m[1]));
  return scripts;
}

test("every script file of the sample parses as ECMAScript 3", () => {
  const files = fs.readdirSync(Sample).filter((f) => f.endsWith(".js"));
  assert.ok(files.length >= 2, "no scripts in " + Sample);
  for (const file of files)
    ParseEs3(fs.readFileSync(path.join(Sample, file), "latin1"), file);
});

test("every inline script, javascript: address and handler of the pages parses", () => {
  let count = 0;
  for (const page of fs.readdirSync(Sample).filter((f) => f.endsWith(".htm"))) {
    ScriptsOfPage(fs.readFileSync(path.join(Sample, page), "latin1")).forEach((code, i) => {
      ParseEs3(code, page + " script " + (i + 1));
      ++count;
    });
  }
  assert.ok(count >= 10, "only " + count + " inline scripts found");
});

test("the parser refuses what ECMAScript 3 lacks", () => {
  for (const code of ["var a = { b: 1, };", "var c = [1].map(x => x);", "let d = 1;",
                      "a.class = 1;", "var e = `t`;"])
    assert.throws(() => ParseEs3(code, code), code);
});
