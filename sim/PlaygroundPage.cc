#include "sim/PlaygroundPage.h"

namespace sim {

const char* playgroundPage() {
  return R"PAGE(<!doctype html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Glidepad playground</title>
<style>
  :root { font-family: -apple-system, "Helvetica Neue", Helvetica, Arial, sans-serif; color: #222; }
  body { margin: 0; background: #e9e9ee; }
  main { display: flex; flex-wrap: wrap; gap: 24px; padding: 20px; align-items: flex-start; }
  #phone { width: 395px; height: 700px; border-radius: 36px; background: #111; padding: 14px;
           box-shadow: 0 8px 30px rgba(0,0,0,.25); flex: none; }
  #screen { position: relative; width: 395px; height: 700px; border-radius: 24px; overflow: hidden;
            background: #f4f4f6; }
  #player { touch-action: none; user-select: none; -webkit-user-select: none; cursor: grab; }
  #player svg { display: block; width: 395px; height: auto; }
  #player.empty { height: 231px; display: flex; align-items: center; justify-content: center;
                  color: #888; cursor: default; }
  #readout { padding: 4px 14px; font-size: 14px; line-height: 1.7; }
  #readout b { display: inline-block; min-width: 110px; font-weight: 600; }
  .bar { display: inline-block; width: 160px; height: 10px; border-radius: 5px; background: #ddd;
         vertical-align: middle; overflow: hidden; margin-right: 8px; }
  .bar span { display: block; height: 100%; background: #3a7bd5; }
  #dim { position: absolute; inset: 0; background: #000; pointer-events: none; opacity: 0; }
  aside { flex: 1; min-width: 320px; max-width: 560px; display: flex; flex-direction: column;
          gap: 14px; }
  section { background: #fff; border-radius: 12px; padding: 12px 16px; }
  h1 { font-size: 20px; margin: 0 0 4px; } h2 { font-size: 15px; margin: 0 0 8px; }
  button, .button { font: inherit; padding: 6px 12px; border-radius: 8px; border: 1px solid #bbb;
                    background: #f7f7f9; cursor: pointer; color: inherit; text-decoration: none; }
  .row { display: flex; gap: 8px; flex-wrap: wrap; align-items: center; }
  label.setting { display: grid; grid-template-columns: 150px 1fr; align-items: center;
                  gap: 8px; margin: 4px 0; }
  .note { color: #777; font-size: 12px; }
  #status { min-height: 1.2em; color: #b00; font-size: 13px; }
  #log { height: 220px; overflow: auto; background: #1b1b1f; color: #cfe; font-size: 12px;
         padding: 8px; border-radius: 8px; margin: 0; }
</style>
</head>
<body>
<main>
  <div id="phone"><div id="screen">
    <div id="player" class="empty">No player is open</div>
    <div id="readout">
      <div><b>Volume</b><span class="bar"><span id="volume-bar"></span></span><span id="volume-value"></span></div>
      <div><b>Brightness</b><span class="bar"><span id="brightness-bar"></span></span><span id="brightness-value"></span></div>
      <div><b>Seek position</b><span id="position-value"></span></div>
      <div><b>Seeks</b><span id="seeks-value"></span></div>
      <div><b>Playback rate</b><span id="rate-value"></span></div>
      <div><b>Stepper label</b><span id="label-value"></span></div>
      <div><b>Clock</b><span id="time-value"></span></div>
    </div>
    <div id="dim"></div>
  </div></div>
  <aside>
    <section>
      <h1>Glidepad playground</h1>
      <div class="note">Drag sideways on the player: a drag that begins in the upper half or the
        lower half does what that area is set to. Tap "-" and "+" on the stepper.</div>
    </section>
    <section>
      <div class="row">
        <button id="open">Open player</button>
        <button id="close">Close player</button>
        <button id="relaunch">Relaunch</button>
        <a id="save" class="button" href="/session.script" download="playground.session">Save session</a>
      </div>
      <div id="status"></div>
    </section>
    <section id="settings">
      <h2>Settings</h2>
      <label class="setting">enabledSwitch <span><input type="checkbox" id="set-enabledSwitch">
        <span class="note">takes effect at the next launch</span></span></label>
      <label class="setting">showPlaybackRate <span><input type="checkbox" id="set-showPlaybackRate">
        <span class="note">takes effect at the next launch</span></span></label>
      <label class="setting">speed <input type="number" id="set-speed" step="1"></label>
      <label class="setting">activateAfter <input type="number" id="set-activateAfter" step="1"></label>
      <label class="setting">topArea <select id="set-topArea"></select></label>
      <label class="setting">bottomArea <select id="set-bottomArea"></select></label>
    </section>
    <section>
      <h2>Event log</h2>
      <pre id="log"></pre>
    </section>
  </aside>
</main>
<script>
"use strict";
const defaults = { enabledSwitch: true, showPlaybackRate: true, speed: 250, activateAfter: 70,
                   topArea: 1, bottomArea: 3 };
const areas = [[1, "1 volume"], [2, "2 brightness"], [3, "3 seek"], [0, "0 nothing"]];
const $ = (id) => document.getElementById(id);
for (const key of ["topArea", "bottomArea"]) {
  for (const [value, text] of areas) $("set-" + key).add(new Option(text, value));
}

// JSON holds no infinities or NaN: the state writes them as the scripts do, "inf", "-inf", "nan".
const real = (v) => typeof v === "number" ? v : v === "inf" ? Infinity : v === "-inf" ? -Infinity : NaN;
const shown = (v, format) => Number.isFinite(real(v)) ? format(real(v)) : String(v);
const trimmed = (v) => v.toFixed(4).replace(/0+$/, "").replace(/\.$/, "");
const level = (v) => real(v) >= 0 ? Math.min(real(v), 1) : 0;

let state = null;
let svgShown = "";
function show(s) {
  state = s;
  $("status").textContent = s.error ? "Refused: " + s.error : "";
  const player = $("player");
  if (s.svg !== svgShown) {
    svgShown = s.svg;
    if (s.svg) { player.innerHTML = s.svg; player.classList.remove("empty"); }
    else { player.textContent = "No player is open"; player.classList.add("empty"); }
  }
  $("volume-bar").style.width = (level(s.volume) * 100) + "%";
  $("volume-value").textContent = shown(s.volume, trimmed);
  $("brightness-bar").style.width = (level(s.brightness) * 100) + "%";
  $("brightness-value").textContent = shown(s.brightness, trimmed);
  $("dim").style.opacity = ((1 - level(s.brightness)) * 0.8).toFixed(3);
  $("position-value").textContent =
    s.player ? shown(s.position, (v) => v.toFixed(1)) + " s" : "no player";
  $("seeks-value").textContent = s.seeksBackward + " back, " + s.seeksForward + " forward";
  $("rate-value").textContent = s.player ? shown(s.rate, String) + "x" : "no player";
  $("label-value").textContent = s.hasStepper ? s.label : "no stepper";
  $("time-value").textContent = shown(s.time, (v) => (v / 1000).toFixed(1)) + " s";
  for (const key of Object.keys(defaults)) {
    const input = $("set-" + key);
    if (input === document.activeElement) continue;
    const value = s.settings[key] === null ? defaults[key] : s.settings[key];
    if (input.type === "checkbox") input.checked = value === true;
    else input.value = String(value);
  }
  const log = $("log");
  const text = s.log.join("\n");
  if (log.textContent !== text) { log.textContent = text; log.scrollTop = log.scrollHeight; }
}

// One request at a time, in order; moves queued behind a request are merged into the latest.
const queue = [];
let busy = false;
function send(line, at) {
  const last = queue[queue.length - 1];
  if (last && last.line.startsWith("move ") && line.startsWith("move ")) {
    queue[queue.length - 1] = { line, at };
  } else {
    queue.push({ line, at });
  }
  pump();
}
async function request(path, body, at) {
  const age = at === undefined ? 0 : Math.max(0, performance.now() - at);
  const response = await fetch(path + "?age=" + age.toFixed(1), {
    method: "POST", body: body, headers: { "Content-Type": "text/plain" } });
  show(await response.json());
}
async function pump() {
  if (busy) return;
  busy = true;
  try {
    while (queue.length) {
      const { line, at } = queue.shift();
      if (line === null) await request("/tick", "", at);
      else await request("/command", line + "\n", at);
    }
  } catch (error) {
    $("status").textContent = "The playground does not answer (" + error.message + ")";
  } finally {
    busy = false;
  }
}
setInterval(() => { if (!busy && queue.length === 0 && !relaunching) { queue.push({ line: null }); pump(); } }, 100);

// Pointers on the player are fingers on its view, in the view's points.
const fingers = new Map();
function pointOf(event) {
  const svg = $("player").querySelector("svg");
  if (!svg || !state || !state.player) return null;
  const box = svg.getBoundingClientRect();
  const scale = svg.viewBox.baseVal.width / box.width;
  const round = (v) => Math.round(v * 10) / 10;
  return { x: round((event.clientX - box.left) * scale - 10),
           y: round((event.clientY - box.top) * scale - 10) };
}
const text = (p) => p.x + "," + p.y;
const all = () => [...fingers.values()].map(text).join(" ");
const player = $("player");
player.addEventListener("pointerdown", (event) => {
  const p = pointOf(event);
  if (!p || p.x < 0 || p.y < 0 || p.x > real(state.playerWidth) || p.y > real(state.playerHeight)) {
    return;
  }
  event.preventDefault();
  player.setPointerCapture(event.pointerId);
  fingers.set(event.pointerId, p);
  send("down " + text(p), event.timeStamp);
});
player.addEventListener("pointermove", (event) => {
  if (!fingers.has(event.pointerId)) return;
  const p = pointOf(event);
  if (!p) return;
  fingers.set(event.pointerId, p);
  send("move " + all(), event.timeStamp);
});
function lift(event, how) {
  if (!fingers.has(event.pointerId)) return;
  fingers.clear();  // the session language lifts every finger together
  send(how, event.timeStamp);
}
player.addEventListener("pointerup", (event) => lift(event, "up"));
player.addEventListener("pointercancel", (event) => lift(event, "cancel"));

$("open").addEventListener("click", () => send("open"));
$("close").addEventListener("click", () => send("close"));
for (const key of Object.keys(defaults)) {
  const input = $("set-" + key);
  input.addEventListener("change", () => {
    let value;
    if (input.type === "checkbox") value = input.checked ? "true" : "false";
    else if (/^-?\d+$/.test(input.value.trim())) value = input.value.trim();
    else { $("status").textContent = key + " takes a whole number"; return; }
    // As the device's settings pane does: write the file, then post the change notification.
    send("setting " + key + " " + value + "\nnotify");
  });
}

let relaunching = false;
$("relaunch").addEventListener("click", async () => {
  relaunching = true;
  $("status").textContent = "Relaunching…";
  try { await fetch("/relaunch", { method: "POST" }); } catch (error) { /* the old process went */ }
  for (let i = 0; i < 100; ++i) {
    await new Promise((resolve) => setTimeout(resolve, 100));
    try {
      const response = await fetch("/state");
      if (response.ok) { show(await response.json()); break; }
    } catch (error) { /* not up yet */ }
  }
  relaunching = false;
});

fetch("/state").then((response) => response.json()).then(show);
</script>
</body>
</html>
)PAGE";
}

}  // namespace sim
