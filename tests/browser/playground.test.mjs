// The playground end to end: glidepad-sim --serve, driven in Debian's chromium through Playwright.
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import { spawn, spawnSync } from "node:child_process";
import { mkdtempSync, mkdirSync, readFileSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import net from "node:net";
import http from "node:http";
import { chromium } from "playwright-core";

const here = dirname(fileURLToPath(import.meta.url));
const sim = resolve(process.env.GLIDEPAD_SIM ?? join(here, "../../build/sim/glidepad-sim"));
const artifacts = join(here, "artifacts");
mkdirSync(artifacts, { recursive: true });

let browser;
let profile;

before(async () => {
  profile = mkdtempSync(join(tmpdir(), "glidepad-chromium-"));
  browser = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
    headless: true,
    viewport: { width: 1100, height: 760 },
    acceptDownloads: true,
    hasTouch: true,
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync"],
  });
});

after(async () => {
  await browser?.close();
  if (profile) rmSync(profile, { recursive: true, force: true });
});

function freePort() {
  return new Promise((done, fail) => {
    const server = net.createServer();
    server.once("error", fail);
    server.listen(0, "127.0.0.1", () => {
      const { port } = server.address();
      server.close(() => done(port));
    });
  });
}

// A playground of its own for one test: a fresh device root, a fresh port, a fresh page.
async function startPlayground() {
  const port = await freePort();
  const root = mkdtempSync(join(tmpdir(), "glidepad-root-"));
  const child = spawn(sim, ["--root", root, "--serve", String(port)], {
    stdio: ["ignore", "pipe", "pipe"] });
  let output = "";
  child.stdout.on("data", (data) => (output += data));
  child.stderr.on("data", (data) => (output += data));
  const exited = new Promise((done) => child.on("exit", (code, signal) => done({ code, signal })));
  const deadline = Date.now() + 10000;
  while (!output.includes("the playground is at")) {
    if (Date.now() > deadline || child.exitCode !== null) {
      throw new Error("the playground did not start: " + output);
    }
    await new Promise((done) => setTimeout(done, 50));
  }
  const url = `http://127.0.0.1:${port}/`;
  const page = await browser.newPage();
  await page.goto(url);
  await page.waitForSelector("#player svg");
  return {
    port, root, url, page, child, output: () => output,
    async stop() {
      await page.close();
      child.kill("SIGTERM");
      const end = await exited;
      rmSync(root, { recursive: true, force: true });
      assert.equal(end.code, 0, "the playground ends cleanly on SIGTERM: " + output);
    },
  };
}

// The page point of a point in the player view's coordinates.
async function onPlayer(page, x, y) {
  const box = await page.locator("#player svg").boundingBox();
  const scale = box.width / 395;  // the snapshot is the player plus a 10-point margin
  return { x: box.x + (x + 10) * scale, y: box.y + (y + 10) * scale };
}

async function drag(page, from, to, steps = 25) {
  const a = await onPlayer(page, ...from);
  const b = await onPlayer(page, ...to);
  await page.mouse.move(a.x, a.y);
  await page.mouse.down();
  for (let i = 1; i <= steps; ++i) {
    await page.mouse.move(a.x + ((b.x - a.x) * i) / steps, a.y + ((b.y - a.y) * i) / steps);
    await page.waitForTimeout(12);
  }
  await page.mouse.up();
}

const number = async (page, id) => parseFloat(await page.locator("#" + id).textContent());
const settle = (page) => page.waitForTimeout(400);  // ticks land the queued volume steps

test("a drag in the upper half steps the volume down", async () => {
  const p = await startPlayground();
  try {
    assert.equal(await number(p.page, "volume-value"), 0.5);
    await drag(p.page, [300, 50], [80, 50]);
    await p.page.waitForFunction(
      () => parseFloat(document.getElementById("volume-value").textContent) < 0.5);
    await settle(p.page);
    assert.ok((await number(p.page, "volume-value")) < 0.5);
    assert.equal(await number(p.page, "brightness-value"), 0.5);
    assert.match(await p.page.locator("#seeks-value").textContent(), /^0 back, 0 forward$/);
  } finally {
    await p.stop();
  }
});

test("a drag in the lower half seeks", async () => {
  const p = await startPlayground();
  try {
    await drag(p.page, [60, 170], [320, 170]);
    await p.page.waitForFunction(
      () => !/ 0 forward$/.test(document.getElementById("seeks-value").textContent));
    assert.match(await p.page.locator("#seeks-value").textContent(), /^0 back, [1-9]\d* forward$/);
    assert.ok((await number(p.page, "position-value")) > 0);
    assert.equal(await number(p.page, "volume-value"), 0.5);
  } finally {
    await p.stop();
  }
});

test('"+" on the drawn stepper makes the rate 1.25x', async () => {
  const p = await startPlayground();
  try {
    assert.equal(await p.page.locator("#label-value").textContent(), "Normal");
    await p.page.locator("#player svg text", { hasText: /^\+$/ }).click();
    await p.page.waitForFunction(
      () => document.getElementById("label-value").textContent === "1.25x");
    assert.equal(await p.page.locator("#rate-value").textContent(), "1.25x");
    assert.ok(await p.page.locator("#player svg text", { hasText: /^1\.25x$/ }).count());
  } finally {
    await p.stop();
  }
});

test("topArea 2 in the settings pane makes the next upper-half drag change the brightness",
  async () => {
    const p = await startPlayground();
    try {
      await p.page.selectOption("#set-topArea", "2");
      await p.page.waitForFunction(() => /setting topArea = 2/.test(
        document.getElementById("log").textContent));
      await drag(p.page, [300, 50], [80, 50]);
      await p.page.waitForFunction(
        () => parseFloat(document.getElementById("brightness-value").textContent) < 0.5);
      await settle(p.page);
      assert.equal(await number(p.page, "volume-value"), 0.5);
      const dim = await p.page.locator("#dim").evaluate((e) => parseFloat(e.style.opacity));
      assert.ok(dim > 0.4, "the screen dims with the brightness: " + dim);
      await p.page.screenshot({ path: join(artifacts, "playground-brightness.png") });
    } finally {
      await p.stop();
    }
  });

test("the gesture options: each offered with its range, dead zones marked, fullscreen toggled",
  async () => {
    const p = await startPlayground();
    try {
      const table = await p.page.evaluate(async () => (await fetch("/settings-table")).json());
      for (const row of table.keys) {
        const input = p.page.locator("#set-" + row.name);
        assert.equal(await input.count(), 1, row.name + " is offered");
        if (row.kind === "integer" && !row.areaCode) {
          assert.equal(await input.getAttribute("min"), String(row.minimum), row.name);
          assert.equal(await input.getAttribute("max"), String(row.maximum), row.name);
        }
      }
      assert.equal(await p.page.locator("#dead-zones").count(), 0, "no bands at deadZone 0");
      await p.page.fill("#set-deadZone", "30");
      await p.page.locator("#set-deadZone").press("Tab");
      await p.page.waitForSelector("#dead-zones rect");
      assert.equal(await p.page.locator("#dead-zones rect").count(), 3, "left, right and top");
      await drag(p.page, [15, 170], [320, 170]);  // begins in the left band: the host's
      await settle(p.page);
      assert.match(await p.page.locator("#seeks-value").textContent(), /^0 back, 0 forward$/);
      await p.page.screenshot({ path: join(artifacts, "playground-dead-zones.png") });
      await p.page.fill("#set-deadZone", "0");
      await p.page.locator("#set-deadZone").press("Tab");
      await p.page.waitForFunction(() => !document.getElementById("dead-zones"));

      const button = p.page.locator("#fullscreen");
      assert.equal(await button.getAttribute("aria-pressed"), "false");
      await button.click();
      await p.page.waitForFunction(
        () => document.getElementById("fullscreen").getAttribute("aria-pressed") === "true");
      assert.match(await p.page.locator("#log").textContent(), /player 1 fullscreen on/);
    } finally {
      await p.stop();
    }
  });

test("a double click at a side seeks, and a press held still plays at the hold's rate", async () => {
  const p = await startPlayground();
  try {
    for (const [key, value] of [["doubleTapSeek", "2"], ["holdRate", "2"]]) {
      await p.page.fill("#set-" + key, value);
      await p.page.locator("#set-" + key).press("Tab");
      await p.page.waitForFunction((text) => document.getElementById("log").textContent.includes(text),
        "setting " + key + " = " + value);
    }
    const left = await onPlayer(p.page, 30, 40);
    await p.page.mouse.dblclick(left.x, left.y);
    await p.page.waitForFunction(
      () => document.getElementById("seeks-value").textContent === "2 back, 0 forward");
    const top = await onPlayer(p.page, 200, 40);
    await p.page.mouse.move(top.x, top.y);
    await p.page.mouse.down();
    await p.page.waitForFunction(() => document.getElementById("rate-value").textContent === "2x");
    assert.match(await p.page.locator("#log").textContent(), /player 1 hold began/);
    await p.page.mouse.up();
    await p.page.waitForFunction(() => /player 1 hold ended/.test(
      document.getElementById("log").textContent));
    assert.notEqual(await p.page.locator("#rate-value").textContent(), "2x");
  } finally {
    await p.stop();
  }
});

test("a drag shows the feedback view on the player, which hides on the wall clock", async () => {
  const p = await startPlayground();
  try {
    assert.equal(await p.page.isChecked("#set-showFeedback"), true);
    assert.equal(await p.page.isChecked("#set-haptics"), false);
    const hud = p.page.locator("#player svg text", { hasText: /^Volume \d+%$/ });
    await drag(p.page, [300, 50], [80, 50]);
    await hud.first().waitFor();
    await p.page.waitForFunction(() => /hud hidden/.test(
      document.getElementById("log").textContent), null, { timeout: 5000 });
    assert.equal(await hud.count(), 0);
  } finally {
    await p.stop();
  }
});

test("a saved session replays through glidepad-sim with every expect holding", async () => {
  const p = await startPlayground();
  try {
    await drag(p.page, [300, 50], [80, 50]);
    await p.page.locator("#player svg text", { hasText: /^\+$/ }).click();
    await p.page.waitForFunction(
      () => document.getElementById("label-value").textContent === "1.25x");
    await p.page.selectOption("#set-bottomArea", "2");
    await p.page.waitForFunction(() => /setting bottomArea = 2/.test(
      document.getElementById("log").textContent));
    await drag(p.page, [60, 170], [320, 170]);
    await settle(p.page);
    await p.page.screenshot({ path: join(artifacts, "playground.png") });

    const [download] = await Promise.all([p.page.waitForEvent("download"),
                                          p.page.click("#save")]);
    const path = join(artifacts, "playground.session");
    await download.saveAs(path);
    const script = readFileSync(path, "utf8");
    assert.match(script, /^launch$/m);
    assert.match(script, /^down [\d.]+,[\d.]+$/m);
    assert.match(script, /^wait \d+(\.\d+)?$/m);
    assert.match(script, /^setting bottomArea 2\nnotify$/m);
    assert.match(script, /^expect rate 1\.25$/m);
    assert.match(script, /^expect label "1\.25x"$/m);
    const volume = script.match(/^expect volume ([\d.]+)$/m);
    assert.ok(volume && parseFloat(volume[1]) < 0.5, script);
    const brightness = script.match(/^expect brightness ([\d.]+)$/m);
    assert.ok(brightness && parseFloat(brightness[1]) > 0.5, script);

    const replay = spawnSync(sim, ["--quiet", path], { encoding: "utf8" });
    assert.equal(replay.status, 0, "replay: " + replay.stderr + "\n" + script);
    // The checks can fail: the same session with another end state does not replay.
    const wrong = spawnSync(sim, ["--quiet", "-"], {
      encoding: "utf8", input: script + "expect volume 0.5\n" });
    assert.equal(wrong.status, 1, wrong.stderr);
  } finally {
    await p.stop();
  }
});

test("Relaunch starts a fresh app on the same settings file", async () => {
  const p = await startPlayground();
  try {
    await p.page.uncheck("#set-showPlaybackRate");
    await p.page.waitForFunction(() => /setting showPlaybackRate = /.test(
      document.getElementById("log").textContent));
    assert.equal(await p.page.locator("#label-value").textContent(), "Normal");  // at next launch
    await p.page.click("#relaunch");
    await p.page.waitForFunction(
      () => document.getElementById("label-value").textContent === "no stepper");
    assert.equal(await p.page.isChecked("#set-showPlaybackRate"), false);
    const script = await p.page.evaluate(() => fetch("/session.script").then((r) => r.text()));
    assert.match(script, /^setting showPlaybackRate false\nvolume 0\.5\nbrightness 0\.5\nlaunch$/m);
    assert.match(script, /^expect label none$/m);
    const replay = spawnSync(sim, ["--quiet", "-"], { encoding: "utf8", input: script });
    assert.equal(replay.status, 0, replay.stderr + "\n" + script);
  } finally {
    await p.stop();
  }
});

test("fingers on a touch screen are sent together, and the session replays", async () => {
  const p = await startPlayground();
  try {
    const cdp = await browser.newCDPSession(p.page);
    const at = async (x, y, id) => ({ ...(await onPlayer(p.page, x, y)), id });
    const touch = async (type, points) => {
      await cdp.send("Input.dispatchTouchEvent", { type, touchPoints: points });
      await p.page.waitForTimeout(30);
    };
    await touch("touchStart", [await at(300, 60, 1)]);
    await touch("touchStart", [await at(300, 60, 1), await at(300, 150, 2)]);
    for (let x = 280; x >= 120; x -= 40) {
      await touch("touchMove", [await at(x, 60, 1), await at(x, 150, 2)]);
    }
    await touch("touchEnd", []);
    await settle(p.page);
    const script = await p.page.evaluate(() => fetch("/session.script").then((r) => r.text()));
    assert.match(script, /^down 300,60\n(wait [\d.]+\n)?down 300,150$/m, script);
    assert.match(script, /^move 120,60 120,150$/m, script);
    assert.match(script, /^up$/m, script);
    const replay = spawnSync(sim, ["--quiet", "-"], { encoding: "utf8", input: script });
    assert.equal(replay.status, 0, replay.stderr + "\n" + script);
  } finally {
    await p.stop();
  }
});

test("numbers JSON cannot hold arrive as null and the page says so", async () => {
  const p = await startPlayground();
  try {
    // The session cannot reach an infinite rate here, so the state is given one on the way.
    await p.page.route(/\/(tick|command|state)/, async (route) => {
      const state = await (await route.fetch()).json();
      Object.assign(state, { rate: null, position: null, volume: null, playerWidth: null });
      await route.fulfill({ json: state });
    });
    await p.page.waitForFunction(
      () => document.getElementById("rate-value").textContent === "not finite");
    assert.equal(await p.page.locator("#position-value").textContent(), "not finite");
    assert.equal(await p.page.locator("#volume-value").textContent(), "not finite");
    assert.equal(await p.page.locator("#volume-bar").evaluate((e) => e.style.width), "0%");
    assert.equal(await p.page.locator("#status").textContent(), "");
  } finally {
    await p.stop();
  }
});

function rawRequest(port, headers, method = "GET", path = "/state") {
  return new Promise((done, fail) => {
    const request = http.request({ host: "127.0.0.1", port, path, method, headers }, (response) => {
      response.resume();
      response.on("end", () => done(response.statusCode));
    });
    request.on("error", fail);
    request.end();
  });
}

test("requests naming another host or from another origin are refused", async () => {
  const p = await startPlayground();
  try {
    assert.equal(await rawRequest(p.port, {}), 200);
    assert.equal(await rawRequest(p.port, { Host: `localhost:${p.port}` }), 200);
    assert.equal(await rawRequest(p.port, { Host: `evil.example:${p.port}` }), 403);
    assert.equal(await rawRequest(p.port, { Host: "127.0.0.1:1" }), 403);
    assert.equal(await rawRequest(p.port, { Origin: "http://evil.example" }, "POST", "/tick"), 403);
    assert.equal(await rawRequest(p.port, { Origin: `http://127.0.0.1:${p.port}` }, "POST",
                                  "/tick"), 200);
    // A page elsewhere cannot drive the session.
    const other = await browser.newPage();
    await other.setContent("<p>elsewhere</p>");
    const status = await other.evaluate(
      (url) => fetch(url + "command", { method: "POST", body: "tap +", mode: "no-cors" })
        .then(() => "sent", () => "failed"), p.url);
    await other.close();
    assert.ok(status === "sent" || status === "failed");
    const label = await p.page.evaluate(() => fetch("/state").then((r) => r.json()))
      .then((s) => s.label);
    assert.equal(label, "Normal");
  } finally {
    await p.stop();
  }
});
