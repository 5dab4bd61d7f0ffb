// The sample's Favorites page in headless Chromium, with an ext_BM.js that the real client
// wrote beside it: every favourite listed as text, each Remove button's ShortCut text,
// handed to the real client, removes exactly that favourite, and the page shows the new
// list by itself however long the client takes; node or Wine's JScript writes and refuses alike.
//
// Stubbed, as they exist only inside a help file: the page's address (there
// "mk:@MSITStore:...::/favorites.htm"; here the help file is on the test bed's share
// \\localhost\tmp, which is /tmp, so the page's include address file://localhost/tmp/...
// reaches the same file) and the HTML Help control's ShortCut command (its Click records
// Item1 instead of starting the program); the reader's prompt and the page's alerts.
"use strict";
const test = require("node:test");
const assert = require("node:assert");
const fs = require("fs");
const path = require("path");
const { pathToFileURL } = require("url");
const { Sample, RunClient, Favourites, RunInPage, ParseEs3 } = require("./Pages.js");
const { Chromium } = require("./Chromium.js");

const HelpFileStub = `
PageLocation = function () { return HELP_FILE + "::/favorites.htm"; };
var ShortCutCalls = [], Alerts = [], PromptAnswer = null, Written = [], write = document.write;
document.write = function (html) { Written.push(html); write.call(document, html); };
prompt = function () { return PromptAnswer; };
alert = function (text) { Alerts.push(text); };
HTMLObjectElement.prototype.Click = function () {
  var params = this.getElementsByTagName("param");
  for (var i = 0; i < params.length; i++)
    if (params[i].name == "Item1")
      ShortCutCalls.push(params[i].value);
};
`;

// The page's favourites as a reader sees them, and the handlers of its buttons.
const ReadList = `(function () {
  var items = document.querySelectorAll("li");
  var list = [];
  for (var i = 0; i < items.length; i++)
    list.push({ name: items[i].querySelector("a").textContent,
                href: items[i].querySelector("a").getAttribute("href"),
                onclick: items[i].querySelector("button").getAttribute("onclick") });
  return { groups: Array.prototype.map.call(document.querySelectorAll("h2"),
                                            function (h) { return h.textContent; }),
           markup: document.querySelectorAll("li b").length, list: list };
})()`;

// The sample's Favorites page in folder (a path under /tmp), as a help file there would
// show it; returns its file: address.
function PlacePage(folder, helpFile) {
  for (const file of ["client.js", "favorites.js"])
    fs.copyFileSync(path.join(Sample, file), path.join(folder, file));
  // In ASCII: the page, and so its scripts, are read as windows-1252.
  const ascii = JSON.stringify(helpFile).replace(/[\u0080-\uffff]/g,
    (c) => "\\u" + c.charCodeAt(0).toString(16).padStart(4, "0"));
  fs.writeFileSync(path.join(folder, "help-file-stub.js"),
                   "var HELP_FILE = " + ascii + ";" + HelpFileStub);
  const page = fs.readFileSync(path.join(Sample, "favorites.htm"), "latin1");
  const withStub = page.replace(/(<script [^>]*src="client.js"><\/script>)/,
                                "$1\n<script src=\"help-file-stub.js\"></script>");
  assert.notStrictEqual(withStub, page, "favorites.htm includes no client.js");
  fs.writeFileSync(path.join(folder, "favorites.htm"), withStub, "latin1");
  return pathToFileURL(path.join(folder, "favorites.htm")).href;
}

// The help file's address on the test bed's share, for a folder under /tmp.
function ShareAddress(folder, file) {
  return "mk:@MSITStore:\\\\localhost" + folder.replace(/\//g, "\\") + "\\" + file;
}

// Waits, with a bound, until the page (which may reload itself meanwhile) lists these
// names; returns what it last listed.
async function WaitForNames(browser, names, timeoutMs) {
  const end = Date.now() + timeoutMs;
  let seen = null;
  for (;;) {
    try {
      seen = await browser.evaluate(ReadList);
      if (JSON.stringify(seen.list.map((item) => item.name)) === JSON.stringify(names))
        return seen;
    } catch (error) {
      // the page was between two loads
    }
    if (Date.now() > end)
      assert.fail("the page lists " + JSON.stringify(seen && seen.list.map((i) => i.name)) +
                  " after " + timeoutMs + " ms, not " + JSON.stringify(names));
    await new Promise((resolve) => setTimeout(resolve, 200));
  }
}

// Runs script in the page and returns the ShortCut calls it made.
function CallsOf(browser, script) {
  return browser.evaluate(`(function () { ShortCutCalls = []; ${script}; return ShortCutCalls; })()`);
}

// The command line of a ShortCut's Item1 (",Varnholt.exe,<command line>").
function CommandLineOf(item1) {
  const parts = item1.split(",");
  assert.strictEqual(parts[1], "Varnholt.exe", item1);
  return parts.slice(2).join(",");
}

test("the Favorites page lists every favourite and each Remove removes exactly it", async () => {
  const folder = fs.mkdtempSync("/tmp/varnholt-page-");
  const helpFile = ShareAddress(folder, "Sample.chm");
  const browser = await Chromium.start();
  try {
    for (const { name, topic } of Favourites)
      assert.strictEqual(RunClient("/bmadd" + name + "=" + helpFile + "::/" + topic), 0, name);
    const address = PlacePage(folder, helpFile);

    await browser.open(address);
    let left = Favourites.slice();
    const seen = await browser.evaluate(ReadList);
    assert.deepStrictEqual(seen.groups, ["Sample"]);
    assert.strictEqual(seen.markup, 0, "markup in a name became markup");
    assert.deepStrictEqual(seen.list.map((item) => item.name), left.map((f) => f.name));
    seen.list.forEach((item, i) => {
      assert.strictEqual(item.href, helpFile + "::/" + left[i].topic);
      ParseEs3(item.onclick, "the Remove button of " + item.name);
    });

    while (left.length > 0) {
      // The middle one, so that neighbours on both sides must stay.
      const gone = left[Math.floor(left.length / 2)];
      const calls = await CallsOf(browser, `
        var items = document.querySelectorAll("li");
        for (var i = 0; i < items.length; i++)
          if (items[i].querySelector("a").textContent == ${JSON.stringify(gone.name)})
            items[i].querySelector("button").click();`);
      assert.strictEqual(calls.length, 1, "ShortCut calls for " + gone.name + ": " + calls);
      assert.strictEqual(RunClient(CommandLineOf(calls[0])), 0, calls[0]);
      left = left.filter((f) => f !== gone);
      await WaitForNames(browser, left.map((f) => f.name), 15000);
    }
    assert.deepStrictEqual(browser.errors, []);
  } finally {
    await browser.stop();
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

test("folders with '#', '%', '&', HTML's character references and letters beyond ASCII, a " +
     "help file named in capitals, a refused name and a slow client", async () => {
  const top = fs.mkdtempSync("/tmp/varnholt-page-");
  const browser = await Chromium.start();
  try {
    for (const { folder, file, section } of [
      { folder: "B\u00fccher & Co", file: "Sample.chm", section: "Sample" },
      { folder: "C# Books 100%", file: "DICT.CHM", section: "DICT.CHM" }].concat(["Tips&not Final",
      "A&amp;B", "R&D"].map((folder) => ({ folder, file: "Sample.chm", section: "Sample" })))) {
      const where = path.join(top, folder);
      fs.mkdirSync(where);
      const helpFile = ShareAddress(where, file);
      assert.strictEqual(RunClient("/bmadd Alpha=" + helpFile + "::/a.htm"), 0, folder);
      await browser.open(PlacePage(where, helpFile));
      const seen = await browser.evaluate(ReadList);
      assert.deepStrictEqual(seen.groups, [section], folder);
      assert.deepStrictEqual(seen.list.map((item) => item.href), [helpFile + "::/a.htm"]);
      const fileText = fs.readFileSync(path.join(where, "ext_BM.js"), "latin1");
      assert.deepStrictEqual(RunInPage("IncludeFavorites(), WriteFavorites(), Written",
        { href: helpFile + "::/favorites.htm", fileText }), await browser.evaluate("Written"));
    }

    // A name the client refuses is refused by the page in the same words, and the client
    // is not started.
    const refused = await CallsOf(browser, `PromptAnswer = "E=mc2"; Alerts = []; AddThisPage()`);
    assert.deepStrictEqual(refused, []);
    assert.deepStrictEqual(await browser.evaluate("Alerts"), [
      "The favourite's name contains an equals sign (=), which is not allowed.\r\n" +
      "The Favorites file was not changed."]);
    assert.deepStrictEqual(RunInPage("[FavoriteNameProblem('E=mc2')]"), await browser.evaluate("Alerts"));

    // After Add in a folder holding "#" the page reloads its own address, cut only at the
    // mark of its wait, until the list changed (ext_BM "x" has the mark 151).
    const page = "mk:@MSITStore:C:\\C#wait-90-12\\Sample.chm::/favorites.htm";
    assert.deepStrictEqual(RunInPage("ShowWhenChanged(), location.href = Replaced[0], " +
      "ContinueWaiting(), ext_BM = 'x', location.href = Replaced[1], ContinueWaiting(), location." +
      "href = Replaced[2], ContinueWaiting(), ShowWhenChanged(), Replaced", { href: page }),
      ["#wait-0-12", "#wait-0-11", "#", "#wait-151-12"].map((mark) => page + mark));

    // A client that answers three seconds after the click: the page shows its favourite
    // without being reopened.
    const calls = await CallsOf(browser, `PromptAnswer = "Beta/Gamma"; AddThisPage()`);
    assert.strictEqual(calls.length, 1, calls.join(" | "));
    const clicked = Date.now();
    await new Promise((resolve) => setTimeout(resolve, 3000));
    assert.strictEqual(RunClient(CommandLineOf(calls[0])), 0, calls[0]);
    await WaitForNames(browser, [" Alpha", "Beta/Gamma"], 14000 - (Date.now() - clicked));
    assert.deepStrictEqual(browser.errors, []);
  } finally {
    await browser.stop();
    fs.rmSync(top, { recursive: true, force: true });
  }
});
