"use strict";
// The settings pane, built from the library's own table of keys (/settings-table), so that the
// page shows every key the library reads, with the library's defaults.
let settingRows = [];

function settingInput(row, areaActions) {
  if (row.areaCode) {
    const select = document.createElement("select");
    const codes = areaActions.map((action, code) => code);
    for (const code of [...codes.slice(1), 0]) {  // the codes that do something first
      select.add(new Option(code + " " + areaActions[code].toLowerCase(), code));
    }
    return select;
  }
  const input = document.createElement("input");
  input.type = row.kind === "boolean" ? "checkbox" : "number";
  if (row.kind !== "boolean") {
    input.step = row.kind === "integer" ? "1" : "any";
    input.min = row.minimum;
    input.max = row.maximum;
  }
  return input;
}

function settingLabel(row, input) {
  const label = document.createElement("label");
  label.className = "setting";
  label.append(row.name + " ");
  if (row.takesEffect !== "nextLaunch") {
    label.append(input);
    return label;
  }
  const note = document.createElement("span");
  note.className = "note";
  note.textContent = "takes effect at the next launch";
  const field = document.createElement("span");
  field.append(input, " ", note);
  label.append(field);
  return label;
}

// As the device's settings pane does: write the file, then post the change notification.
function sendSetting(row, input) {
  let value;
  const number = row.kind === "integer" ? /^-?\d+$/ : /^-?\d+(\.\d+)?$/;
  if (input.type === "checkbox") value = input.checked ? "true" : "false";
  else if (number.test(input.value.trim())) value = input.value.trim();
  else {
    const takes = row.kind === "integer" ? " takes a whole number" : " takes a number";
    $("status").textContent = row.name + takes;
    return;
  }
  send("setting " + row.name + " " + value + "\nnotify");
}

function buildSettings(table) {
  // The switches first, then the numbers, each in the table's order.
  settingRows = [...table.keys].sort((a, b) => (b.kind === "boolean") - (a.kind === "boolean"));
  for (const row of settingRows) {
    const input = settingInput(row, table.areaActions);
    input.id = "set-" + row.name;
    input.addEventListener("change", () => sendSetting(row, input));
    $("settings").append(settingLabel(row, input));
  }
  if (state) show(state);
}

// A key missing from the file shows the value the library reads instead.
function settingValue(row, settings) {
  if (settings[row.name] !== null) return settings[row.name];
  const other = row.fallbackKey && settingRows.find((r) => r.name === row.fallbackKey);
  return other ? settingValue(other, settings) : row.fallback;
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
