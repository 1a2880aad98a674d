"use strict";
// The settings pane, built from the library's own table of keys (/settings-table), so that the
// page shows every key the library reads, with the library's defaults, grouped by what they shape.
let settingRows = [];
let areaActions = [];

function settingInput(row) {
  if (row.areaCode) {
    const select = document.createElement("select");
    const codes = areaActions.map((action, code) => code);
    for (const code of [...codes.slice(1), 0]) {  // the codes that do something first
      select.add(new Option(areaActions[code], code));
    }
    return select;
  }
  const input = document.createElement("input");
  input.type = row.kind === "boolean" ? "checkbox" : "number";
  if (row.kind !== "boolean") {
    input.step = row.kind === "integer" ? "1" : "0.05";
    input.min = row.minimum;
    input.max = row.maximum;
    input.inputMode = row.kind === "integer" ? "numeric" : "decimal";
  }
  return input;
}

// "Upper half (topArea)": the label for people, then the key as the file names it.
function settingLabel(row, input) {
  const label = document.createElement("label");
  label.className = "setting";
  const name = document.createElement("span");
  const key = document.createElement("code");
  key.textContent = "(" + row.name + ")";
  name.append(row.label + " ", key);
  if (row.takesEffect === "nextLaunch") {
    const note = document.createElement("span");
    note.className = "note";
    note.textContent = " takes effect at the next launch";
    name.append(note);
  }
  label.append(name, input);
  return label;
}

// As the device's settings pane does: write the file, then post the change notification.
function sendSetting(row, input) {
  let value;
  if (input.type === "checkbox") {
    value = input.checked ? "true" : "false";
  } else {
    const typed = input.value.trim();
    const number = Number(typed);
    const whole = row.kind === "integer";
    const fits = (whole ? /^-?\d+$/ : /^-?(\d+\.?\d*|\.\d+)$/).test(typed) &&
                 number >= row.minimum && number <= row.maximum;
    if (!fits) {
      message(row.label + " (" + row.name + ") takes " + (whole ? "a whole number" : "a number") +
              " from " + row.minimum + " to " + row.maximum);
      return;
    }
    value = typed;
  }
  act("setting " + row.name + " " + value + "\nnotify");
}

function buildSettings(table) {
  settingRows = table.keys;
  areaActions = table.areaActions;
  const groups = new Map();
  for (const row of settingRows) {
    if (!groups.has(row.group)) {
      const fieldset = document.createElement("fieldset");
      const legend = document.createElement("legend");
      legend.textContent = row.group;
      fieldset.append(legend);
      groups.set(row.group, fieldset);
      $("settings").append(fieldset);
    }
    const input = settingInput(row);
    input.id = "set-" + row.name;
    input.addEventListener("change", () => sendSetting(row, input));
    groups.get(row.group).append(settingLabel(row, input));
  }
  if (state) show(state);
}

// Every key back to the library's default: each key the file holds is taken out of it.
$("reset").addEventListener("click", () => {
  const held = settingRows.filter((row) => state && state.settings[row.name] !== null);
  if (!held.length) {
    message("Every setting is at its default already", "info");
    return;
  }
  act(held.map((row) => "unset " + row.name).join("\n") + "\nnotify");
});

// A key missing from the file shows the value the library reads instead.
function settingValue(row, settings) {
  if (settings[row.name] !== null) return settings[row.name];
  const other = row.fallbackKey && settingRows.find((r) => r.name === row.fallbackKey);
  return other ? settingValue(other, settings) : row.fallback;
}

// The value the library reads for a numeric key, or 0 before the table has come.
function settingNumber(name) {
  const row = settingRows.find((r) => r.name === name);
  const value = row && state ? Number(settingValue(row, state.settings)) : 0;
  return Number.isFinite(value) ? value : 0;
}

function showSettings(settings) {
  for (const row of settingRows) {
    const input = $("set-" + row.name);
    if (input === document.activeElement) continue;
    const value = settingValue(row, settings);
    if (input.type === "checkbox") input.checked = value === true;
    else input.value = String(value);
  }
}

fetch("/settings-table").then((response) => response.json()).then(buildSettings);
