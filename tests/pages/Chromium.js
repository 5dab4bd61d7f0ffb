// Headless Chromium driven through the DevTools protocol over a pipe (Debian's chromium,
// no download, no network): open a page, evaluate script in it, wait for its events.
"use strict";
const { spawn } = require("child_process");
const fs = require("fs");
const os = require("os");
const path = require("path");

class Chromium {
  static async start() {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), "varnholt-chromium-"));
    const browser = new Chromium(profile);
    const target = await browser.send("Target.createTarget", { url: "about:blank" });
    const attached = await browser.send("Target.attachToTarget",
                                        { targetId: target.targetId, flatten: true });
    browser.session = attached.sessionId;
    await browser.send("Page.enable", {}, browser.session);
    await browser.send("Runtime.enable", {}, browser.session);
    return browser;
  }

  constructor(profile) {
    this.profile = profile;
    this.nextId = 0;
    this.replies = new Map();
    this.waiters = [];
    this.errors = [];
    this.process = spawn("/usr/bin/chromium",
      ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
       "--disable-background-networking", "--disable-component-update", "--disable-sync",
       "--remote-debugging-pipe", "--user-data-dir=" + profile, "about:blank"],
      { stdio: ["ignore", "ignore", "pipe", "pipe", "pipe"], detached: true });
    let stderr = "";
    this.process.stderr.on("data", (d) => { stderr = (stderr + d).slice(-4000); });
    this.exited = new Promise((resolve) => this.process.on("exit", (code) => {
      for (const reply of this.replies.values())
        reply.reject(new Error("chromium ended (" + code + "): " + stderr));
      resolve();
    }));
    let pending = Buffer.alloc(0);
    this.process.stdio[4].on("data", (data) => {
      pending = Buffer.concat([pending, data]);
      for (let end; (end = pending.indexOf(0)) >= 0; pending = pending.subarray(end + 1))
        this.receive(JSON.parse(pending.subarray(0, end).toString("utf8")));
    });
  }

  receive(message) {
    if (message.id !== undefined) {
      const reply = this.replies.get(message.id);
      this.replies.delete(message.id);
      if (message.error)
        reply.reject(new Error(message.error.message));
      else
        reply.resolve(message.result);
      return;
    }
    if (message.method === "Runtime.exceptionThrown")
      this.errors.push(message.params.exceptionDetails);
    this.waiters = this.waiters.filter((w) => !(w.method === message.method && w.resolve()));
  }

  send(method, params, sessionId) {
    const message = { id: ++this.nextId, method, params: params || {} };
    if (sessionId)
      message.sessionId = sessionId;
    return new Promise((resolve, reject) => {
      this.replies.set(message.id, { resolve, reject });
      this.process.stdio[3].write(JSON.stringify(message) + "\0");
    });
  }

  // A promise of the next event of that kind from now on; rejected after timeoutMs.
  nextEvent(method, timeoutMs) {
    return new Promise((resolve, reject) => {
      const timer = setTimeout(() => reject(new Error("no " + method + " within " + timeoutMs +
                                                      " ms")), timeoutMs);
      this.waiters.push({ method, resolve: () => { clearTimeout(timer); resolve(); return true; } });
    });
  }

  async open(url) {
    const loaded = this.nextEvent("Page.loadEventFired", 20000);
    await this.send("Page.navigate", { url }, this.session);
    await loaded;
  }

  // The value of a script expression in the page (JSON-serializable).
  async evaluate(expression) {
    const result = await this.send("Runtime.evaluate",
                                   { expression, returnByValue: true, awaitPromise: true },
                                   this.session);
    if (result.exceptionDetails)
      throw new Error("in the page: " + JSON.stringify(result.exceptionDetails));
    return result.result.value;
  }

  // Closes the browser as a user would, so that its helper processes end and stop writing
  // to the profile before it is removed; kills the whole group if it does not end.
  async stop() {
    const ended = Promise.race([this.exited, new Promise((r) => setTimeout(r, 10000))]);
    this.send("Browser.close").catch(() => {});
    await ended;
    try {
      process.kill(-this.process.pid, "SIGKILL");
    } catch (error) {
      // the group has ended
    }
    await this.exited;
    fs.rmSync(this.profile, { recursive: true, force: true, maxRetries: 20, retryDelay: 250 });
  }
}

module.exports = { Chromium };
