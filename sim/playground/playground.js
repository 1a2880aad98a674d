"use strict";
const $ = (id) => document.getElementById(id);

// JSON holds no infinities or NaN: the state has null for a number that is not finite.
const real = (v) => typeof v === "number" ? v : NaN;
const shown = (v, format) => Number.isFinite(real(v)) ? format(v) : "not finite";
const trimmed = (v) => v.toFixed(4).replace(/0+$/, "").replace(/\.$/, "");
const level = (v) => real(v) >= 0 ? Math.min(v, 1) : 0;
const kMargin = 10;  // the picture has a 10-point margin around the player

// A message stays until the next action, or for a few seconds, and is read out as it appears.
const kMessageMs = 6000;
let messageTimer = 0;
function message(text, kind = "error") {
  clearTimeout(messageTimer);
  const status = $("status");
  status.textContent = text;
  status.className = kind;
  if (text) messageTimer = setTimeout(() => message(""), kMessageMs);
}

let state = null;
let svgShown = "";
function show(s) {
  state = s;
  const player = $("player");
  if (s.svg !== svgShown) {
    svgShown = s.svg;
    const picture = $("picture");
    if (s.svg) {
      picture.innerHTML = s.svg;
      const svg = picture.firstElementChild;
      svg.setAttribute("aria-hidden", "true");
      // The page shows the levels itself, with the other read-outs: the picture is the player.
      const view = svg.viewBox.baseVal, height = real(s.playerHeight) + 2 * kMargin;
      if (height > 0 && height < view.height) {
        svg.setAttribute("viewBox", [0, 0, view.width, height].join(" "));
        svg.setAttribute("height", height);
      }
    } else {
      picture.textContent = "No player is open";
    }
    player.classList.toggle("empty", !s.svg);
  }
  $("volume-bar").style.width = (level(s.volume) * 100) + "%";
  $("volume-value").textContent = shown(s.volume, trimmed);
  $("brightness-bar").style.width = (level(s.brightness) * 100) + "%";
  $("brightness-value").textContent = shown(s.brightness, trimmed);
  $("position-value").textContent =
    s.player ? shown(s.position, (v) => v.toFixed(1) + " s") : "no player";
  $("seeks-value").textContent = s.seeksBackward + " back, " + s.seeksForward + " forward";
  $("rate-value").textContent = s.player ? shown(s.rate, (v) => v + "x") : "no player";
  $("label-value").textContent = s.hasStepper ? s.label : "no stepper";
  $("time-value").textContent = shown(s.time, (v) => (v / 1000).toFixed(1) + " s");
  $("fullscreen").setAttribute("aria-pressed", String(s.player !== 0 && s.fullscreen));
  placeOverPlayer(s);
  markDeadZones(s);
  showSettings(s.settings);
  const log = $("log");
  const text = s.log.join("\n");
  if (log.textContent !== text) { log.textContent = text; log.scrollTop = log.scrollHeight; }
}

// A box in the player view's points as a place in the picture, in percent of it.
function placeInPicture(style, box) {
  const svg = $("picture").querySelector("svg");
  const view = svg && svg.viewBox.baseVal;
  if (!view || !(view.width > 0 && view.height > 0)) return false;
  const values = [box.x + kMargin, box.y + kMargin, box.width, box.height].map(real);
  if (!values.every(Number.isFinite)) return false;
  style.left = (values[0] / view.width * 100) + "%";
  style.top = (values[1] / view.height * 100) + "%";
  style.width = (values[2] / view.width * 100) + "%";
  style.height = (values[3] / view.height * 100) + "%";
  return true;
}

// The screen's dimming over the player's picture, the halves' marks, and the page's own buttons
// over the drawn "-" and "+", so that a tap and the keyboard reach the same stepper.
function placeOverPlayer(s) {
  const playerBox = { x: 0, y: 0, width: s.playerWidth, height: s.playerHeight };
  const dim = $("dim");
  dim.hidden = !s.player || !placeInPicture(dim.style, playerBox);
  dim.style.opacity = ((1 - level(s.brightness)) * 0.8).toFixed(3);
  placeInPicture($("halves").style, playerBox);
  for (const [id, place] of [["slower", s.slowerButton], ["faster", s.fasterButton]]) {
    const button = $(id);
    button.hidden = !s.player || !place || !place.shown || !placeInPicture(button.style, place);
  }
}

// What each half does, marked while a finger is down (or a key makes a step), the touched half
// picked out.
function markHalves(touchedY) {
  const halves = $("halves");
  if (touchedY === null || !state) { halves.hidden = true; return; }
  for (const [id, name, title] of [["upper-half", "topArea", "Upper half"],
                                   ["lower-half", "bottomArea", "Lower half"]]) {
    const row = settingRows.find((r) => r.name === name);
    const code = row ? Number(settingValue(row, state.settings)) : NaN;
    const action = areaActions[code] ?? "Nothing";
    const mark = document.createElement("span");
    mark.textContent = title + ": " + action;
    $(id).replaceChildren(mark);
  }
  const upper = touchedY < real(state.playerHeight) * 0.5;
  $("upper-half").classList.toggle("touched", upper);
  $("lower-half").classList.toggle("touched", !upper);
  halves.hidden = false;
}

// The bands where a touch starts no swipe, drawn over the player while deadZone is above 0: along
// the player view's left and right edges, and the screen's top and bottom edges where the player
// reaches them.
function markDeadZones(s) {
  const svg = $("picture").querySelector("svg");
  if (!svg) return;
  const band = settingNumber("deadZone");
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
    for (const [name, v] of Object.entries({ x: x + kMargin, y: y + kMargin, width, height })) {
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
  svg.append(marks);
}

// One request at a time, in order; moves queued behind a request are merged into the latest.
// Each answers when its line (or the line it was merged into) has run.
const queue = [];
let busy = false;
function send(line, at) {
  return new Promise((done) => {
    const last = queue[queue.length - 1];
    if (last && last.line && last.line.startsWith("move ") && line && line.startsWith("move ")) {
      Object.assign(last, { line, at });
      last.done.push(done);
    } else {
      queue.push({ line, at, done: [done] });
    }
    pump();
  });
}
// What a person does: it ends the message about what they did before.
function act(line, at) {
  message("");
  return send(line, at);
}
async function request(path, body, at) {
  const age = at === undefined ? 0 : Math.max(0, performance.now() - at);
  const response = await fetch(path + "?age=" + age.toFixed(1), {
    method: "POST", body: body, headers: { "Content-Type": "text/plain" } });
  const s = await response.json();
  if (s.error) message("Refused: " + s.error);
  show(s);
}
async function pump() {
  if (busy) return;
  busy = true;
  try {
    while (queue.length) {
      const { line, at, done } = queue.shift();
      try {
        if (line === null) await request("/tick", "", at);
        else await request("/command", line + "\n", at);
      } finally {
        for (const d of done) d();
      }
    }
  } catch (error) {
    message("The playground does not answer (" + error.message + ")");
  } finally {
    busy = false;
  }
}
setInterval(() => { if (!busy && queue.length === 0 && !relaunching) send(null); }, 100);

// Pointers on the player are fingers on its view, in the view's points.
const fingers = new Map();
const round = (v) => Math.round(v * 10) / 10;
function pointOf(event) {
  const svg = $("picture").querySelector("svg");
  if (!svg || !state || !state.player) return null;
  const box = svg.getBoundingClientRect();
  const scale = svg.viewBox.baseVal.width / box.width;
  return { x: round((event.clientX - box.left) * scale - kMargin),
           y: round((event.clientY - box.top) * scale - kMargin) };
}
const text = (p) => p.x + "," + p.y;
const all = () => [...fingers.values()].map(text).join(" ");
const player = $("player");
let keyStepping = false;
player.addEventListener("pointerdown", (event) => {
  const p = pointOf(event);
  if (!p || keyStepping || p.x < 0 || p.y < 0 || p.x > real(state.playerWidth) ||
      p.y > real(state.playerHeight)) {
    return;
  }
  event.preventDefault();
  // The arrows work after a click too; the focus ring is for the keyboard's focus.
  player.classList.add("pointer-focus");
  player.focus({ preventScroll: true });
  player.setPointerCapture(event.pointerId);
  const taps = fingers.size === 0 ? tapCount(p, event.timeStamp) : 1;
  if (fingers.size === 0) markHalves(p.y);
  fingers.set(event.pointerId, p);
  act("down " + text(p) + (taps > 1 ? " taps " + taps : ""), event.timeStamp);
});
player.addEventListener("pointermove", (event) => {
  if (!fingers.has(event.pointerId)) return;
  const p = pointOf(event);
  if (!p) return;
  fingers.set(event.pointerId, p);
  act("move " + all(), event.timeStamp);
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
  markHalves(null);
  act(how, event.timeStamp);
}
player.addEventListener("pointerup", (event) => lift(event, "up"));
player.addEventListener("pointercancel", (event) => lift(event, "cancel"));

// A key on the focused player is a finger's swipe for one step: down, past activateAfter, then a
// point at a time until the level, the brightness or the seeks move, and up. Each move is followed
// by a tick so that a volume step, which lands 10 ms after it is asked, is seen before the next.
const kKeyMoveMs = 12;
function stepsSeen(s) {
  return [s.volume, s.brightness, s.seeksBackward, s.seeksForward].join(" ");
}
// What a key's step changed, for the status line (and so for a screen reader).
function stepSaid(was) {
  const { volume, brightness, seeksBackward: back, seeksForward: forward } = was;
  if (state.volume !== volume) return "Volume " + shown(state.volume, trimmed);
  if (state.brightness !== brightness) return "Brightness " + shown(state.brightness, trimmed);
  if (state.seeksBackward !== back) return "Seeked back to " + $("position-value").textContent;
  if (state.seeksForward !== forward) return "Seeked forward to " + $("position-value").textContent;
  return "The swipe made no step";
}
async function keyStep(direction, lower) {
  const w = real(state.playerWidth), h = real(state.playerHeight);
  if (!state.player || !(w > 2) || !(h > 0)) return;
  keyStepping = true;
  lastTap = null;
  const edge = Math.min(Math.max(settingNumber("deadZone"), 0) + 12, w / 2 - 1);
  const y = round(lower ? h * 0.75 : h * 0.25);
  let x = round(direction < 0 ? w - edge : edge);
  const was = state, before = stepsSeen(state);
  markHalves(y);
  try {
    await act("down " + x + "," + y);
    if (state.error) return;  // refused, and said so
    x = Math.min(Math.max(x + direction * (Math.max(settingNumber("activateAfter"), 0) + 1), 1),
                 w - 1);
    await send("move " + x + "," + y);
    while (!state.error && stepsSeen(state) === before && x + direction >= 1 &&
           x + direction <= w - 1) {
      x += direction;
      await send("move " + x + "," + y);
      if (state.error) break;
      await new Promise((done) => setTimeout(done, kKeyMoveMs));
      await send(null);
    }
    if (state.error && !state.player) return;  // the player went, and the finger with it
    const refused = state.error;
    await send("up");
    if (!refused && !state.error) message(stepSaid(was), "info");
  } finally {
    markHalves(null);
    keyStepping = false;
  }
}
player.addEventListener("blur", () => player.classList.remove("pointer-focus"));
player.addEventListener("keydown", (event) => {
  player.classList.remove("pointer-focus");
  if (event.key !== "ArrowLeft" && event.key !== "ArrowRight") return;
  event.preventDefault();  // the arrows are the player's, not the page's
  if (keyStepping || fingers.size || !state || !state.player) return;
  keyStep(event.key === "ArrowLeft" ? -1 : 1, event.shiftKey);
});

// A finger on the page's stepper buttons taps at its lift, within the button. The browser's click
// after a touch is left out (it drops some, after a drag), so a click is the mouse's or a key's.
for (const [id, line] of [["slower", "tap -"], ["faster", "tap +"]]) {
  const button = $(id);
  button.addEventListener("click", () => act(line));
  button.addEventListener("touchend", (event) => {
    event.preventDefault();
    const touch = event.changedTouches[0], box = button.getBoundingClientRect();
    if (touch && touch.clientX >= box.left && touch.clientX <= box.right &&
        touch.clientY >= box.top && touch.clientY <= box.bottom) {
      act(line);
    }
  }, { passive: false });
}
$("open").addEventListener("click", () => act("open"));
$("close").addEventListener("click", () => act("close"));
$("fullscreen").addEventListener("click", () => {
  if (state && state.player) act("fullscreen " + (state.fullscreen ? "off" : "on"));
  else message("Refused: no player is open");
});

let relaunching = false;
$("relaunch").addEventListener("click", async () => {
  relaunching = true;
  message("Relaunching…", "info");
  try { await fetch("/relaunch", { method: "POST" }); } catch (error) { /* the old process went */ }
  for (let i = 0; i < 100; ++i) {
    await new Promise((resolve) => setTimeout(resolve, 100));
    try {
      const response = await fetch("/state");
      if (response.ok) { show(await response.json()); message(""); break; }
    } catch (error) { /* not up yet */ }
  }
  relaunching = false;
});

fetch("/state").then((response) => response.json()).then(show);
