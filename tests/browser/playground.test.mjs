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

// Both sizes the page is made for: a desktop window with a mouse, and a phone with touch.
const sizes = {
  desktop: { viewport: { width: 1280, height: 800 } },
  phone: { viewport: { width: 390, height: 844 }, hasTouch: true, isMobile: true },
};
let browser;
const contexts = {};

before(async () => {
  browser = await chromium.launch({
    executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
    headless: true,
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync"],
  });
  for (const [size, options] of Object.entries(sizes)) {
    contexts[size] = await browser.newContext({ ...options, acceptDownloads: true });
  }
});

after(async () => {
  await browser?.close();
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
async function startPlayground(size = "desktop") {
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
  const page = await contexts[size].newPage();
  // Everything the page loads or sends stays on 127.0.0.1, within the page's own policy.
  const strays = [];
  page.on("request", (r) => {
    if (!r.url().startsWith(url) && !r.url().startsWith("data:")) strays.push(r.url());
  });
  page.on("console", (m) => {
    if (/Content Security Policy/.test(m.text())) strays.push(m.text());
  });
  await page.goto(url);
  await page.waitForSelector("#player svg");
  return {
    port, root, url, page, child, size, output: () => output,
    async stop() {
      await page.close();
      child.kill("SIGTERM");
      const end = await exited;
      rmSync(root, { recursive: true, force: true });
      assert.equal(end.code, 0, "the playground ends cleanly on SIGTERM: " + output);
      assert.deepEqual(strays, [], "the page reached outside its origin or its policy");
    },
  };
}

// The page point of a point in the player view's coordinates.
async function onPlayer(page, x, y) {
  await page.locator("#player").scrollIntoViewIfNeeded();
  const box = await page.locator("#player svg").boundingBox();
  const scale = box.width / 395;  // the snapshot is the player plus a 10-point margin
  return { x: box.x + (x + 10) * scale, y: box.y + (y + 10) * scale };
}

// Touch points sent as the phone's screen sends them.
async function touchScreen(p) {
  const cdp = await p.page.context().newCDPSession(p.page);
  return async (type, points) => {
    await cdp.send("Input.dispatchTouchEvent", { type, touchPoints: points });
    await p.page.waitForTimeout(12);
  };
}

// A finger dragged across the player: the mouse on the desktop, a touch on the phone.
async function drag(p, from, to, steps = 25) {
  const a = await onPlayer(p.page, ...from);
  const b = await onPlayer(p.page, ...to);
  const at = (i) => ({ x: a.x + ((b.x - a.x) * i) / steps, y: a.y + ((b.y - a.y) * i) / steps });
  if (p.size === "phone") {
    const touch = await touchScreen(p);
    await touch("touchStart", [a]);
    for (let i = 1; i <= steps; ++i) await touch("touchMove", [at(i)]);
    await touch("touchEnd", []);
    return;
  }
  await p.page.mouse.move(a.x, a.y);
  await p.page.mouse.down();
  for (let i = 1; i <= steps; ++i) {
    await p.page.mouse.move(at(i).x, at(i).y);
    await p.page.waitForTimeout(12);
  }
  await p.page.mouse.up();
}

const press = (p, locator) => (p.size === "phone" ? locator.tap() : locator.click());
const number = async (page, id) => parseFloat(await page.locator("#" + id).textContent());
const settle = (page) => page.waitForTimeout(400);  // ticks land the queued volume steps
const textIs = (page, id, text) => page.waitForFunction(
  ([id, text]) => document.getElementById(id).textContent === text, [id, text]);
const logHas = (page, text) => page.waitForFunction(
  (text) => document.getElementById("log").textContent.includes(text), text);
const session = (page) => page.evaluate(() => fetch("/session.script").then((r) => r.text()));

// The shortest decimal that reads back to the same 32-bit float.
function shortestFloat(value) {
  const single = Math.fround(value);
  for (let digits = 1; ; ++digits) {
    const text = String(Number(single.toPrecision(digits)));
    if (Math.fround(Number(text)) === single) return text;
  }
}

for (const size of Object.keys(sizes)) {
  test(`${size}: the page fits without scrolling sideways, the player first`, async () => {
    const p = await startPlayground(size);
    try {
      const widths = size === "phone" ? [360, 390] : [761, 1024, 1280, 1440];
      for (const width of widths) {
        await p.page.setViewportSize({ width, height: 800 });
        const layout = await p.page.evaluate(() => {
          const box = (selector) => document.querySelector(selector).getBoundingClientRect();
          return { scroll: document.documentElement.scrollWidth, width: innerWidth,
                   player: box("#player").toJSON(), readout: box("#readout").toJSON(),
                   settings: box("#settings").toJSON(), log: box("#log").toJSON() };
        });
        const where = `at ${width} px: ${JSON.stringify(layout)}`;
        assert.ok(layout.scroll <= layout.width, where);
        for (const part of ["player", "readout", "settings", "log"]) {
          assert.ok(layout[part].left >= 0 && layout[part].right <= width, part + " " + where);
        }
        if (size === "phone") {
          // One column, in order, the levels close under the player: no empty frame between.
          assert.ok(layout.player.bottom <= layout.readout.top, where);
          assert.ok(layout.readout.top - layout.player.bottom < 140, where);
          assert.ok(layout.readout.bottom <= layout.settings.top, where);
          assert.ok(layout.settings.bottom <= layout.log.top, where);
        } else {
          assert.ok(layout.player.right <= layout.settings.left, "side by side " + where);
        }
      }
      await p.page.setViewportSize(sizes[size].viewport);
      await p.page.screenshot({ path: join(artifacts, `playground-${size}.png`) });
    } finally {
      await p.stop();
    }
  });

  test(`${size}: a refused action's message stays, is announced, and goes at the next action`,
    async () => {
      const p = await startPlayground(size);
      try {
        const status = p.page.locator("#status");
        assert.equal(await status.getAttribute("aria-live"), "polite");
        await p.page.fill("#set-speed", "1.5");
        await p.page.locator("#set-speed").press("Tab");
        await p.page.waitForTimeout(2000);
        assert.equal(await status.textContent(),
                     "Swipe speed (speed) takes a whole number from 1 to 2000");
        await press(p, p.page.locator("#close"));
        await textIs(p.page, "rate-value", "no player");
        assert.equal(await status.textContent(), "");
        await press(p, p.page.locator("#close"));
        await p.page.waitForFunction(() => document.getElementById("status").textContent);
        await p.page.waitForTimeout(2000);
        assert.match(await status.textContent(), /^Refused: expected an open player/);
        await press(p, p.page.locator("#open"));
        await textIs(p.page, "status", "");
      } finally {
        await p.stop();
      }
    });

  test(`${size}: the keyboard reaches the player and the stepper's named buttons`, async () => {
    const p = await startPlayground(size);
    try {
      const focused = () => p.page.evaluate(() => {
        const e = document.activeElement, style = getComputedStyle(e);
        return { id: e.id, outline: style.outlineStyle + " " + style.outlineWidth };
      });
      await p.page.keyboard.press("Tab");
      const onPlayer = await focused();
      assert.equal(onPlayer.id, "player");
      assert.notEqual(onPlayer.outline.split(" ")[0], "none", "focus is shown");
      await p.page.keyboard.press("ArrowLeft");
      await textIs(p.page, "status", "Volume 0.48");  // one step, said for a screen reader
      await settle(p.page);
      assert.equal(await p.page.locator("#volume-value").textContent(), "0.48");
      await p.page.keyboard.press("Shift+ArrowRight");
      await textIs(p.page, "seeks-value", "0 back, 1 forward");
      assert.equal(await p.page.locator("#volume-value").textContent(), "0.48");
      assert.equal(await p.page.inputValue("#set-speed"), "250", "the arrows stay the player's");

      // The page's buttons lie over the drawn "-" and "+" and carry their names.
      for (const [name, glyph] of [["Slower", /^-$/], ["Faster", /^\+$/]]) {
        const button = await p.page.getByRole("button", { name, exact: true }).boundingBox();
        const drawn = await p.page.locator("#player svg text", { hasText: glyph }).boundingBox();
        const [cx, cy] = [drawn.x + drawn.width / 2, drawn.y + drawn.height / 2];
        assert.ok(cx > button.x && cx < button.x + button.width &&
                  cy > button.y && cy < button.y + button.height, name);
      }
      await p.page.keyboard.press("Tab");
      assert.equal((await focused()).id, "slower");
      await p.page.keyboard.press("Tab");
      const onFaster = await focused();
      assert.equal(onFaster.id, "faster");
      assert.notEqual(onFaster.outline.split(" ")[0], "none", "focus is shown");
      await p.page.keyboard.press("Enter");
      await textIs(p.page, "rate-value", "1.25x");
      await press(p, p.page.getByRole("button", { name: "Slower" }));
      await textIs(p.page, "label-value", "Normal");
      const script = await session(p.page);
      assert.match(script, /^# a drag from [\d.]+,[\d.]+ to [\d.]+,[\d.]+\ndown [\d.]+,[\d.]+$/m);
      assert.match(script, /^move [\d.]+,[\d.]+$/m);
      assert.match(script, /^# a tap on the stepper's "\+"\ntap \+$/m);
      assert.match(script, /^# a tap on the stepper's "-"\ntap -$/m);
    } finally {
      await p.stop();
    }
  });

  test(`${size}: a saved session says what each touch was and replays through glidepad-sim`,
    async () => {
      const p = await startPlayground(size);
      try {
        await drag(p, [300, 50], [80, 50]);
        await p.page.waitForFunction(
          () => parseFloat(document.getElementById("volume-value").textContent) < 0.5);
        await press(p, p.page.getByRole("button", { name: "Faster" }));
        await textIs(p.page, "label-value", "1.25x");
        await p.page.selectOption("#set-bottomArea", "2");
        await logHas(p.page, "setting bottomArea = 2");
        await drag(p, [60, 170], [320, 170]);
        await settle(p.page);

        const [download] = await Promise.all([p.page.waitForEvent("download"),
                                              press(p, p.page.locator("#save"))]);
        const path = join(artifacts, `playground-${size}.session`);
        await download.saveAs(path);
        const script = readFileSync(path, "utf8");
        assert.match(script, /^launch$/m);
        assert.match(script, /^# a drag from 300,50 to [\d.]+,50\ndown 300,50$/m, script);
        assert.match(script, /^wait \d+(\.\d+)?$/m);
        assert.match(script, /^# a tap on the stepper's "\+"\ntap \+$/m, script);
        assert.match(script, /^setting bottomArea 2\nnotify$/m);
        assert.match(script, /^expect rate 1\.25$/m);
        assert.match(script, /^expect label "1\.25x"$/m);
        for (const [name, below] of [["volume", true], ["brightness", false]]) {
          const [, text] = script.match(new RegExp(`^expect ${name} (\\S+)$`, "m"));
          assert.equal(text, shortestFloat(Number(text)), "the shortest text: " + text);
          assert.equal(Number(text) < 0.5, below, name + " " + text);
        }

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
}

test("phone: the halves are marked while a finger is down, and the dimming leaves the read-out",
  async () => {
    const p = await startPlayground("phone");
    try {
      const halves = p.page.locator("#halves");
      assert.equal(await halves.isVisible(), false);
      const touch = await touchScreen(p);
      await touch("touchStart", [await onPlayer(p.page, 200, 150)]);
      assert.equal(await halves.isVisible(), true);
      assert.equal(await p.page.locator("#upper-half").textContent(), "Upper half: Volume");
      assert.equal(await p.page.locator("#lower-half").textContent(), "Lower half: Seek");
      assert.deepEqual(await p.page.evaluate(() => ["upper-half", "lower-half"].map(
        (id) => document.getElementById(id).classList.contains("touched"))), [false, true]);
      await touch("touchEnd", []);
      assert.equal(await halves.isVisible(), false);

      // At brightness 0 the picture is dimmed and the read-out keeps its contrast.
      await p.page.evaluate(() => fetch("/command", { method: "POST", body: "brightness 0\n" }));
      await textIs(p.page, "brightness-value", "0");
      await p.page.waitForFunction(
        () => parseFloat(document.getElementById("dim").style.opacity) === 0.8);
      const check = await p.page.evaluate(() => {
        const luminance = (css) => {
          const [r, g, b] = css.match(/\d+(\.\d+)?/g).slice(0, 3).map((v) => {
            const c = v / 255;
            return c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4;
          });
          return 0.2126 * r + 0.7152 * g + 0.0722 * b;
        };
        const readout = document.getElementById("readout");
        const box = readout.getBoundingClientRect();
        const covered = document.elementsFromPoint(box.x + 20, box.y + 10)
          .some((e) => e.id === "dim");
        const ratios = [...readout.querySelectorAll("dt, dd")].map((e) => {
          const fore = luminance(getComputedStyle(e).color);
          const back = luminance(getComputedStyle(readout.closest("section")).backgroundColor);
          return (Math.max(fore, back) + 0.05) / (Math.min(fore, back) + 0.05);
        });
        return { covered, lowest: Math.min(...ratios) };
      });
      assert.equal(check.covered, false, "the dimming covers the picture only");
      assert.ok(check.lowest >= 4.5, "contrast " + check.lowest);
    } finally {
      await p.stop();
    }
  });

test("the settings: every key, labelled and grouped, with its range, and a reset to defaults",
  async () => {
    const p = await startPlayground();
    try {
      const table = await p.page.evaluate(async () => (await fetch("/settings-table")).json());
      for (const row of table.keys) {
        const input = p.page.getByLabel(`${row.label} (${row.name})`);
        assert.equal(await input.count(), 1, row.name + " is offered");
        assert.equal(await input.evaluate((e) => e.closest("fieldset").querySelector("legend")
          .textContent), row.group, row.name);
        if (row.kind !== "boolean" && !row.areaCode) {
          assert.equal(await input.getAttribute("min"), String(row.minimum), row.name);
          assert.equal(await input.getAttribute("max"), String(row.maximum), row.name);
        }
      }
      assert.deepEqual(await p.page.locator("fieldset legend").allTextContents(),
                       ["Swipes", "Rate stepper", "Feedback", "More gestures and options"]);
      const upper = p.page.getByLabel("Upper half (topArea)");
      assert.equal(await upper.evaluate((e) => e.selectedOptions[0].textContent), "Volume");

      await upper.selectOption("2");
      await logHas(p.page, "setting topArea = 2");
      await p.page.fill("#set-speed", "500");
      await p.page.locator("#set-speed").press("Tab");
      await logHas(p.page, "setting speed = 500");
      await p.page.click("#reset");
      await logHas(p.page, "setting topArea removed");
      await p.page.waitForFunction(() => document.getElementById("set-speed").value === "250");
      assert.equal(await upper.inputValue(), "1");
      const script = await session(p.page);
      assert.match(script, /^unset speed\nunset topArea\nnotify$/m, script);
      await p.page.click("#reset");
      assert.equal(await p.page.locator("#status").textContent(),
                   "Every setting is at its default already");
    } finally {
      await p.stop();
    }
  });

test("the gesture options: dead zones marked, fullscreen toggled", async () => {
  const p = await startPlayground();
  try {
    assert.equal(await p.page.locator("#dead-zones").count(), 0, "no bands at deadZone 0");
    await p.page.fill("#set-deadZone", "30");
    await p.page.locator("#set-deadZone").press("Tab");
    await p.page.waitForSelector("#dead-zones rect");
    assert.equal(await p.page.locator("#dead-zones rect").count(), 3, "left, right and top");
    await drag(p, [15, 170], [320, 170]);  // begins in the left band: the host's
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
      await logHas(p.page, "setting " + key + " = " + value);
    }
    const left = await onPlayer(p.page, 30, 40);
    await p.page.mouse.dblclick(left.x, left.y);
    await textIs(p.page, "seeks-value", "2 back, 0 forward");
    const top = await onPlayer(p.page, 200, 40);
    await p.page.mouse.move(top.x, top.y);
    await p.page.mouse.down();
    await textIs(p.page, "rate-value", "2x");
    assert.match(await p.page.locator("#log").textContent(), /player 1 hold began/);
    await p.page.mouse.up();
    await logHas(p.page, "player 1 hold ended");
    assert.notEqual(await p.page.locator("#rate-value").textContent(), "2x");
    const script = await session(p.page);
    assert.match(script, /^# tap 2 in a row at 30,40: a double tap$/m, script);
    assert.match(script, /^# a press held [\d.]+ ms at 200,40$/m, script);
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
    await drag(p, [300, 50], [80, 50]);
    await hud.first().waitFor();
    await p.page.waitForFunction(() => /hud hidden/.test(
      document.getElementById("log").textContent), null, { timeout: 5000 });
    assert.equal(await hud.count(), 0);
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

test("phone: fingers on the screen are sent together, and the session replays", async () => {
  const p = await startPlayground("phone");
  try {
    const touch = await touchScreen(p);
    const at = async (x, y, id) => ({ ...(await onPlayer(p.page, x, y)), id });
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
      try {
        const state = await (await route.fetch()).json();
        Object.assign(state, { rate: null, position: null, volume: null, playerWidth: null });
        await route.fulfill({ json: state });
      } catch (error) {
        await route.abort().catch(() => {});  // the page closed with the request on its way
      }
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
    const other = await contexts.desktop.newPage();
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
