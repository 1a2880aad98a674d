"use strict";
const $ = (id) => document.getElementById(id);

// JSON holds no infinities or NaN: the state has null for a number that is not finite.
const real = (v) => typeof v === "number" ? v : NaN;
const shown = (v, format) => Number.isFinite(real(v)) ? format(v) : "not finite";
const trimmed = (v) => v.toFixed(4).replace(/0+$/, "").replace(/\.$/, "");
const level = (v) => real(v) >= 0 ? Math.min(v, 1) : 0;

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
    s.player ? shown(s.position, (v) => v.toFixed(1) + " s") : "no player";
  $("seeks-value").textContent = s.seeksBackward + " back, " + s.seeksForward + " forward";
  $("rate-value").textContent = s.player ? shown(s.rate, (v) => v + "x") : "no player";
  $("label-value").textContent = s.hasStepper ? s.label : "no stepper";
  $("time-value").textContent = shown(s.time, (v) => (v / 1000).toFixed(1) + " s");
  $("fullscreen").setAttribute("aria-pressed", String(s.player !== 0 && s.fullscreen));
  markDeadZones(s);
  showSettings(s.settings);
  const log = $("log");
  const text = s.log.join("\n");
  if (log.textContent !== text) { log.textContent = text; log.scrollTop = log.scrollHeight; }
}

// The bands where a touch starts no swipe, drawn over the player while deadZone is above 0: along
// the player view's left and right edges, and the screen's top and bottom edges where the player
// reaches them. The picture has a 10-point margin around the player.
function markDeadZones(s) {
  const svg = $("player").querySelector("svg");
  if (!svg) return;
  const row = settingRows.find((r) => r.name === "deadZone");
  const band = row ? Number(settingValue(row, s.settings)) : 0;
  const w = real(s.playerWidth), h = real(s.playerHeight), screen = real(s.screenHeight);
  const key = [band, w, h, screen].join(",");
  let marks = svg.querySelector("#dead-zones");
  if (marks && marks.dataset.key === key) return;
  if (marks) marks.remove();
  if (!(band > 0) || !Number.isFinite(w + h + screen)) return;
  marks = document.createElementNS("http://www.w3.org/2000/svg", "g");
  marks.id = "dead-zones";
  marks.dataset.key = key;
  marks.setAttribute("pointer-events", "none");
  const bandRect = (x, y, width, height) => {
    if (width <= 0 || height <= 0) return;
    const r = document.createElementNS("http://www.w3.org/2000/svg", "rect");
    for (const [name, v] of Object.entries({ x: x + 10, y: y + 10, width, height })) {
      r.setAttribute(name, v);
    }
    r.setAttribute("fill", "#e0a030");
    r.setAttribute("fill-opacity", "0.5");
    marks.append(r);
  };
  const b = Math.min(band, w / 2);
  bandRect(0, 0, b, h);
  bandRect(w - b, 0, b, h);
  bandRect(b, 0, w - 2 * b, Math.min(band, h));
  const bottom = Math.max(screen - band, band);
  bandRect(b, bottom, w - 2 * b, h - bottom);
  const title = document.createElementNS("http://www.w3.org/2000/svg", "title");
  title.textContent = "Dead zones: touches that begin here start no swipe";
  marks.append(title);
  svg.append(marks);
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
  const taps = fingers.size === 0 ? tapCount(p, event.timeStamp) : 1;
  fingers.set(event.pointerId, p);
  send("down " + text(p) + (taps > 1 ? " taps " + taps : ""), event.timeStamp);
});
player.addEventListener("pointermove", (event) => {
  if (!fingers.has(event.pointerId)) return;
  const p = pointOf(event);
  if (!p) return;
  fingers.set(event.pointerId, p);
  send("move " + all(), event.timeStamp);
});
// The tap count the device gives a touch: one more than the last tap's when this one touches down
// within 350 ms of that lift and less than 45 points from it, so that a double click or double
// tap on the picture is a double tap for the library.
let lastTap = null;
function tapCount(p, at) {
  const near = lastTap && at >= lastTap.at && at - lastTap.at <= 350 &&
               Math.hypot(p.x - lastTap.x, p.y - lastTap.y) < 45;
  const taps = near ? lastTap.taps + 1 : 1;
  lastTap = { x: p.x, y: p.y, downAt: at, at: Infinity, taps };
  return taps;
}
function lift(event, how) {
  if (!fingers.has(event.pointerId)) return;
  // Only a tap counts toward the next one: lifted, not cancelled, and held at most 350 ms.
  if (lastTap && how === "up" && event.timeStamp - lastTap.downAt <= 350) {
    lastTap.at = event.timeStamp;
  } else {
    lastTap = null;
  }
  fingers.clear();  // the session language lifts every finger together
  send(how, event.timeStamp);
}
player.addEventListener("pointerup", (event) => lift(event, "up"));
player.addEventListener("pointercancel", (event) => lift(event, "cancel"));

$("open").addEventListener("click", () => send("open"));
$("close").addEventListener("click", () => send("close"));
$("fullscreen").addEventListener("click", () => {
  if (state && state.player) send("fullscreen " + (state.fullscreen ? "off" : "on"));
});

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
