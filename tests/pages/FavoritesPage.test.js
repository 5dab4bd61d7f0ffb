// The sample's Favorites page in headless Chromium, with an ext_BM.js that the real client
// wrote beside it: every favourite listed as text, and each Remove button's ShortCut text,
// handed to the real client, removes exactly that favourite.
//
// Stubbed, as they exist only inside a help file: the page's address (there
// "mk:@MSITStore:...::/favorites.htm"; here the help file is on the test bed's share
// \\localhost\tmp, which is /tmp, so the page's include address file://localhost/tmp/...
// reaches the same file) and the HTML Help control's ShortCut command (its Click records
// Item1 instead of starting the program).
"use strict";
const test = require("node:test");
const assert = require("node:assert");
const fs = require("fs");
const path = require("path");
const { Sample, RunClient, Favourites, ParseEs3 } = require("./Pages.js");
const { Chromium } = require("./Chromium.js");

const HelpFileStub = `
PageLocation = function () { return HELP_FILE + "::/favorites.htm"; };
var ShortCutCalls = [];
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

test("the Favorites page lists every favourite and each Remove removes exactly it", async () => {
  const folder = fs.mkdtempSync("/tmp/varnholt-page-");
  const helpFile = "mk:@MSITStore:\\\\localhost\\tmp\\" + path.basename(folder) + "\\Sample.chm";
  const browser = await Chromium.start();
  try {
    for (const { name, topic } of Favourites)
      assert.strictEqual(RunClient("/bmadd" + name + "=" + helpFile + "::/" + topic), 0, name);
    for (const file of ["client.js", "favorites.js"])
      fs.copyFileSync(path.join(Sample, file), path.join(folder, file));
    fs.writeFileSync(path.join(folder, "help-file-stub.js"),
                     "var HELP_FILE = " + JSON.stringify(helpFile) + ";" + HelpFileStub);
    const page = fs.readFileSync(path.join(Sample, "favorites.htm"), "latin1");
    const withStub = page.replace(/(<script [^>]*src="client.js"><\/script>)/,
                                  "$1\n<script src=\"help-file-stub.js\"></script>");
    assert.notStrictEqual(withStub, page, "favorites.htm includes no client.js");
    fs.writeFileSync(path.join(folder, "favorites.htm"), withStub, "latin1");
    const address = "file://" + folder + "/favorites.htm";

    await browser.open(address);
    let left = Favourites.slice();
    let seen = await browser.evaluate(ReadList);
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
      const reloaded = browser.nextEvent("Page.loadEventFired", 10000);
      const calls = await browser.evaluate(`(function () {
        var items = document.querySelectorAll("li");
        for (var i = 0; i < items.length; i++)
          if (items[i].querySelector("a").textContent == ${JSON.stringify(gone.name)})
            items[i].querySelector("button").click();
        return ShortCutCalls;
      })()`);
      assert.strictEqual(calls.length, 1, "ShortCut calls for " + gone.name + ": " + calls);
      const item1 = calls[0].split(",");
      assert.strictEqual(item1[1], "Varnholt.exe");
      await reloaded; // the page reloads itself a second after the click
      assert.strictEqual(RunClient(item1.slice(2).join(",")), 0, item1.join(","));
      left = left.filter((f) => f !== gone);
      await browser.open(address);
      seen = await browser.evaluate(ReadList);
      assert.deepStrictEqual(seen.list.map((item) => item.name), left.map((f) => f.name),
                             "after removing " + gone.name);
    }
    assert.deepStrictEqual(browser.errors, []);
  } finally {
    await browser.stop();
    fs.rmSync(folder, { recursive: true, force: true });
  }
});
