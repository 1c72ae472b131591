// The page: wires the controls to the core (morvek.js, WebSession) and keeps
// nothing of its own but what the user sees. Nothing leaves the machine.
"use strict";

// WebSession's numbers (web/WebSession.h).
const Open = { ok: 0, notMidi: 1, badFormat: 2, badTimeBase: 3, noMemory: 4, tooLong: 5 };
const Fact = { format: 0, timeBase: 1, usedChannels: 2, listCount: 3, retimedFrom: 5 };
const ListFact = { track: 0, channel: 1, voice: 2, ticks: 3 };
const Text = { program: 0, report: 1, wav: 2, previewError: 3 };
const Setting = { split: 2, voices: 5, lenient: 7, reportLanguage: 8 };
const NO_FACT = -1, UNASSIGNED = -1, NO_FILE = 100, BAD_TEMPO = 101, PART_ROWS = 18;
const Convert = { ok: 0, badFormat: 1, badTimeBase: 2, badSettings: 3, badChoice: 4,
                  badAssignment: 5, noMemory: 6, tooLarge: 7 };
const Preview = { ok: 0, unreadable: 1, tooLong: 2, noMemory: 3 };
const VOICES = [1, 2, 3, 4, 6, 8, 12, 18];
const KINDS = ["PLAY", "PLAY HG", "PLAY@"];

// The page's own words; the window's messages come from strings.js.
const WORDS = {
  ja: {
    language: "表示言語", close: "閉じる", fileTitle: "MIDI ファイル", choose: "ファイルを選ぶ…",
    demo: "デモ曲を開く", drop: "またはここにドロップ", name: "ファイル名", format: "フォーマット",
    timeBase: "タイムベース", usedChannels: "使用チャンネル数", assignTitle: "パートの割り当て",
    channels: "MIDI チャンネル", parts: "パート", add: "追加 →", remove: "← 削除",
    inOrder: "順に割り当て", clearParts: "すべて外す",
    assignHint: "チャンネルを選んで「追加」(または Enter/ダブルクリック)、パートを選んで「削除」(または Delete)。",
    settingsTitle: "設定", partCount: "パート数", resolution: "最小分解能", split: "分割ステップ数",
    firstLine: "開始行番号", kind: "PLAY の種類", voices: "声部数", fitLines: "行の長さ (この文字数で PLAY 行を切る)", off: "制限なし", lineLimit: "行の長さの上限 (レポート)",
    convert: "変換", programTitle: "ソース", save: "保存 (.txt)", copy: "コピー",
    tempo: "テンポ (空欄: ファイルのテンポ)", play: "再生", stop: "停止", saveWav: "WAV 保存",
    reportTitle: "変換レポート", unassigned: "(なし)", part: "パート",
    privacy: "変換はすべてこのブラウザの中で行われます。ファイルはどこにも送られません。",
    loading: "変換エンジンを読み込めませんでした。ページを再読み込みしてください。",
    noFile: "先に MIDI ファイルを開いてください。", noProgram: "ソースがありません。先に変換してください。",
    badAssignment: "リスト %1 はこのファイルにありません。",
    badChoice: "選択された設定は使えません。", badTempo: "テンポは 1 から 1000 までの数 (小数 3 桁まで) で入力してください。",
    badLineLimit: "行の長さの上限は 1 以上の数で入力してください。",
    badChar: "%1 行目の文字「%2」はソースに書けません。", copied: "ソースをコピーしました。",
    copyFailed: "コピーできませんでした。テキストを選んでコピーしてください。",
    converted: "変換 %1 ms", lenient: "寛容に開く",
    lenientOption: "寛容に開く（タイムベースを 480 に変換、不明なチャンクを飛ばし、途中で切れたトラックも読む）",
    tooLong: "曲が長すぎて、タイムベースを 480 に変換できません。", noAudio: "このブラウザでは再生できません。WAV 保存で聞けます。",
  },
  en: {
    language: "Language", close: "Close", fileTitle: "MIDI file", choose: "Choose a file…",
    demo: "Open the demo song", drop: "or drop it here", name: "Name", format: "Format",
    timeBase: "Time base", usedChannels: "Used channels", assignTitle: "Parts",
    channels: "MIDI channels", parts: "Parts", add: "Add →", remove: "← Remove",
    inOrder: "Assign in order", clearParts: "Remove all",
    assignHint: "Select a channel and Add (or Enter / double-click); select a part and Remove (or Delete).",
    settingsTitle: "Settings", partCount: "Number of parts", resolution: "Minimum resolution",
    split: "Split step count", firstLine: "First line number", kind: "PLAY kind", voices: "Voices",
    fitLines: "Line length (PLAY lines cut to fit)", off: "Off",
    lineLimit: "Longest PLAY line (report)", convert: "Convert", programTitle: "Source",
    save: "Save (.txt)", copy: "Copy", tempo: "Tempo (empty: the file's)", play: "Play", stop: "Stop",
    saveWav: "Save WAV", reportTitle: "Conversion report", unassigned: "(none)", part: "Part",
    privacy: "Everything is converted inside this browser. Your files go nowhere.",
    loading: "The converter could not be loaded. Please reload the page.",
    noFile: "Open a MIDI file first.", noProgram: "There is no source yet. Convert first.",
    badAssignment: "List %1 does not exist in this file.",
    badChoice: "The chosen setting cannot be used.",
    badTempo: "Enter a tempo from 1 to 1000 (up to three decimals).",
    badLineLimit: "Enter a longest line of 1 or more.",
    badChar: "Line %1: the character \u201c%2\u201d cannot be written into the source.",
    copied: "The source was copied.", copyFailed: "The source could not be copied: select it and copy it.",
    converted: "Converted in %1 ms", lenient: "Open leniently",
    lenientOption: "Open leniently (re-time to 480, skip unknown chunks, read a cut-off track)",
    tooLong: "The music is too long to re-time to 480 ticks per quarter note.",
    noAudio: "This browser cannot play it; Save WAV and listen to the file.",
  },
};

const $ = (id) => document.getElementById(id);
let core = null;          // the module
let lang = "en";
let fileName = "";        // of the open file, for the saved names
let fileBytes = null;     // kept for a lenient reopen
let programBytes = null;  // the converter's bytes, saved as they are while the box is unchanged
let shownProgram = "";
let audio = null, playing = null;
const sjis = new TextDecoder("shift_jis");

function word(key, ...args) {
  let text = WORDS[lang][key] ?? key;
  args.forEach((a, i) => { text = text.replace(`%${i + 1}`, a); });
  return text;
}

function winText(name) {
  const pair = MORVEK_STRINGS[name];
  return pair ? pair[lang === "ja" ? 0 : 1] : name;
}

// ---- messages --------------------------------------------------------------

function showMessage(text, { info = false, action = null } = {}) {
  $("message-text").textContent = text;
  $("message").classList.toggle("info", info);
  const button = $("message-action");
  button.hidden = !action;
  if (action) {
    button.textContent = action.label;
    button.onclick = () => { hideMessage(); action.run(); };
  }
  $("message").hidden = false;
  (action ? button : $("message-close")).focus({ preventScroll: true });
}

function hideMessage() { $("message").hidden = true; }

// ---- memory crossing -------------------------------------------------------

function withBytes(bytes, run) {
  const ptr = core._malloc(Math.max(bytes.length, 1));
  if (!ptr) return run(0, -1);
  try {
    core.HEAPU8.set(bytes, ptr);
    return run(ptr, bytes.length);
  } finally {
    core._free(ptr);
  }
}

function coreBytes(which) {
  const ptr = core._morvek_text(which), size = core._morvek_text_size(which);
  return core.HEAPU8.slice(ptr, ptr + size);
}

// The box's text as the program's bytes: CR LF line ends, ASCII and
// half-width katakana (code page 932's single bytes); null after saying
// which character cannot be written.
function programOf(text) {
  if (programBytes && text === shownProgram) return programBytes;
  const lines = text.replace(/\r\n?/g, "\n").split("\n");
  const out = [];
  for (let i = 0; i < lines.length; ++i) {
    for (const ch of lines[i]) {
      const c = ch.codePointAt(0);
      if (c < 0x80) out.push(c);
      else if (c >= 0xff61 && c <= 0xff9f) out.push(c - 0xff61 + 0xa1);
      else { showMessage(word("badChar", i + 1, ch)); return null; }
    }
    if (i + 1 < lines.length || lines[i] !== "") out.push(13, 10);
  }
  return new Uint8Array(out);
}

function download(bytes, name, type) {
  const url = URL.createObjectURL(new Blob([bytes], { type }));
  const a = document.createElement("a");
  a.href = url; a.download = name;
  document.body.appendChild(a); a.click(); a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 10000);
}

function baseName() {
  const dot = fileName.lastIndexOf(".");
  return (dot > 0 ? fileName.slice(0, dot) : fileName) || "program";
}

// ---- the file --------------------------------------------------------------

function openBytes(bytes, name) {
  hideMessage();
  fileName = name; fileBytes = bytes;
  clearProgram();
  const result = withBytes(bytes, (ptr, size) => size < 0 ? Open.noMemory : core._morvek_open(ptr, size));
  showFile();
  switch (result) {
    case Open.ok: break;
    case Open.notMidi: refuseFile(winText("kStrNotMidi"), true); break;
    case Open.badFormat:
      refuseFile(`${name}\n${word("format")} ${core._morvek_file_fact(Fact.format)}\n\n${winText("kStrBadFormat")}`); break;
    case Open.badTimeBase:
      refuseFile(`${name}\n${word("timeBase")} ${core._morvek_file_fact(Fact.timeBase)}\n\n${winText("kStrBadTimeBase")}`, true); break;
    case Open.tooLong: refuseFile(word("tooLong")); break;
    default: refuseFile(winText("kStrConvertNoMemory"));
  }
  $("split").value = core._morvek_get(Setting.split);
  return result;
}

// A refused file: the message, and for what lenient reading takes, when the
// file was read strictly, the offer to open it so in one click.
function refuseFile(text, lenientHelps = false) {
  const offer = lenientHelps && core._morvek_get(Setting.lenient) === 0;
  showMessage(text, offer ? { action: { label: word("lenient"), run: () => setLenient(true) } } : {});
}

// The choice holds for the next files too; the open one is read again.
function setLenient(on) {
  core._morvek_set(Setting.lenient, on ? 1 : 0);
  $("lenient").checked = on;
  if (fileBytes) openBytes(fileBytes, fileName);
}

async function openFile(file) {
  try {
    openBytes(new Uint8Array(await file.arrayBuffer()), file.name);
  } catch (e) {
    showMessage(`${file.name}\n${winText("kStrReadFailed")}`);
  }
}

function listText(i) {
  const f = (k) => core._morvek_list_fact(i, k);
  const voices = core._morvek_get(Setting.voices);
  const ch = voices > 1 ? `${f(ListFact.channel)}.${f(ListFact.voice) + 1}` : `${f(ListFact.channel)}`;
  const cols = [`${i}`, `${f(ListFact.track)}`, ch, f(ListFact.ticks).toLocaleString("en-US")];
  const widths = [4, 4, 6, 10];
  return cols.map((c, k) => c.padStart(widths[k], "\u00a0")).join(" ");
}

function listHeader() {
  const names = ["kStrChannelColNo", "kStrChannelColTr", "kStrChannelColCh", "kStrChannelColStep"];
  const widths = [4, 4, 6, 10];
  return names.map((n, k) => winText(n).padStart(widths[k], "\u00a0")).join(" ");
}

function showFile() {
  const has = core._morvek_file_fact(Fact.format) !== NO_FACT;
  $("info-name").textContent = has ? fileName : "-";
  $("info-format").textContent = has ? core._morvek_file_fact(Fact.format) : "-";
  const from = core._morvek_file_fact(Fact.retimedFrom);
  $("info-timebase").textContent = !has ? "-" : from > 0
    ? winText("kStrRetimedTimeBase").replace("%s", from).replace("%d", core._morvek_file_fact(Fact.timeBase))
    : core._morvek_file_fact(Fact.timeBase);
  $("info-channels").textContent = has ? core._morvek_file_fact(Fact.usedChannels) : "-";
  const channels = $("channels");
  channels.replaceChildren();
  const count = Math.max(0, core._morvek_file_fact(Fact.listCount));
  const header = new Option(listHeader(), "");
  header.disabled = true;
  channels.add(header);
  for (let i = 0; i < count; ++i) channels.add(new Option(listText(i), i));
  if (count > 0) channels.selectedIndex = 1;
  showParts(0);
}

function showParts(selected) {
  const parts = $("parts");
  parts.replaceChildren();
  for (let row = 0; row < PART_ROWS; ++row) {
    const list = core._morvek_assignment(row);
    const text = list === UNASSIGNED ? word("unassigned") : listText(list);
    parts.add(new Option(`${String(row).padStart(2, "\u00a0")}: ${text}`, row));
  }
  parts.selectedIndex = selected;
}

// ---- parts -----------------------------------------------------------------

function addPart() {
  const channels = $("channels"), parts = $("parts");
  if (channels.selectedIndex < 1 || parts.selectedIndex < 0) return;
  const list = Number(channels.value), row = parts.selectedIndex;
  core._morvek_assign(row, list);
  // As the window's Add: both lists move on to their next row.
  if (channels.selectedIndex + 1 < channels.length) channels.selectedIndex += 1;
  showParts(Math.min(row + 1, PART_ROWS - 1));
}

function removePart() {
  const row = $("parts").selectedIndex;
  if (row < 0) return;
  core._morvek_assign(row, UNASSIGNED);
  showParts(Math.min(row + 1, PART_ROWS - 1));
}

function assignInOrder() {
  const count = Math.max(0, core._morvek_file_fact(Fact.listCount));
  for (let row = 0; row < PART_ROWS; ++row) core._morvek_assign(row, row < count ? row : UNASSIGNED);
  showParts(0);
}

function clearParts() {
  for (let row = 0; row < PART_ROWS; ++row) core._morvek_assign(row, UNASSIGNED);
  showParts(0);
}

// ---- settings --------------------------------------------------------------

// Every control with data-setting goes to the core as it is; a text that
// is no whole number gets the window's message for that setting.
const NUMBER_MESSAGES = { 0: "kStrBadPartCount", 2: "kStrBadSplitStep", 3: "kStrBadFirstLine" };

function applySettings() {
  for (const control of document.querySelectorAll("[data-setting]")) {
    const setting = Number(control.dataset.setting);
    const value = control.type === "checkbox" ? (control.checked ? 1 : 0) : control.value.trim();
    if (!/^\d{1,9}$/.test(String(value))) {
      showMessage(NUMBER_MESSAGES[setting] ? winText(NUMBER_MESSAGES[setting]) : word("badLineLimit"));
      control.focus();
      return false;
    }
    if (setting === 6 && Number(value) < 1) { showMessage(word("badLineLimit")); control.focus(); return false; }
    if (setting !== Setting.voices) core._morvek_set(setting, Number(value));
  }
  return true;
}

function changeVoices() {
  core._morvek_set(Setting.voices, Number($("voices").value));
  clearProgram();
  showFile();
}

function convertMessage() {
  const status = (k) => core._morvek_status(k);
  switch (status(0)) {
    case Convert.badFormat: return winText("kStrBadFormat");
    case Convert.badTimeBase: return winText("kStrBadTimeBase");
    case Convert.badSettings:
      return winText(["", "kStrBadSplitStep", "kStrBadPartCount", "kStrBadFirstLine"][status(1)] || "kStrConvertFailed");
    case Convert.badChoice: return word("badChoice");
    case Convert.badAssignment: return word("badAssignment", status(2));
    case Convert.noMemory: return winText("kStrConvertNoMemory");
    default: return winText("kStrConvertFailed");
  }
}

function convert() {
  hideMessage();
  if (!applySettings()) return;
  const start = performance.now();
  const result = core._morvek_convert();
  const ms = performance.now() - start;
  if (result === NO_FILE) { showMessage(word("noFile")); return; }
  if (result !== Convert.ok) { clearProgram(); showMessage(convertMessage()); return; }
  programBytes = coreBytes(Text.program);
  shownProgram = sjis.decode(programBytes).replace(/\r\n/g, "\n");
  $("program").value = shownProgram;
  $("convert-time").textContent = word("converted", ms.toFixed(1));
  $("convert-time").dataset.ms = ms;
  makeReport(programBytes);
}

function clearProgram() {
  stop();
  programBytes = null; shownProgram = "";
  $("program").value = "";
  $("report").textContent = "";
  $("convert-time").textContent = "";
}

function makeReport(bytes) {
  const result = withBytes(bytes, (ptr, size) => size < 0 ? 1 : core._morvek_report(ptr, size));
  $("report").textContent = result === 0 ? sjis.decode(coreBytes(Text.report)) : winText("kStrReportNoMemory");
}

// ---- program and preview ---------------------------------------------------

function currentProgram() {
  if ($("program").value === "") { showMessage(winText("kStrEmptySource")); return null; }
  return programOf($("program").value);
}

function save() {
  const bytes = currentProgram();
  if (bytes) download(bytes, `${baseName()}.txt`, "text/plain");
}

async function copy() {
  try {
    await navigator.clipboard.writeText($("program").value.replace(/\r?\n/g, "\r\n"));
    showMessage(word("copied"), { info: true });
  } catch (e) {
    $("program").select();
    showMessage(word("copyFailed"));
  }
}

// The WAV of the box's text, or null after saying why not.
function makeWav() {
  if (core._morvek_file_fact(Fact.format) === NO_FACT) { showMessage(word("noFile")); return null; }
  const bytes = currentProgram();
  if (!bytes) return null;
  const tempo = new TextEncoder().encode($("tempo").value.trim() + "\0");
  const result = withBytes(bytes, (ptr, size) => withBytes(tempo, (t) =>
    size < 0 || !t ? Preview.noMemory : core._morvek_preview(ptr, size, t)));
  switch (result) {
    case Preview.ok: return coreBytes(Text.wav);
    case Preview.unreadable: {
      const reason = sjis.decode(coreBytes(Text.previewError));
      showMessage(winText("kStrPreviewUnreadable").replace("%d", core._morvek_preview_error(0))
        .replace("%d", core._morvek_preview_error(1)).replace("%s", reason));
      return null;
    }
    case Preview.tooLong: showMessage(winText("kStrPreviewTooLong")); return null;
    case BAD_TEMPO: showMessage(word("badTempo")); $("tempo").focus(); return null;
    case Preview.noMemory: showMessage(winText("kStrPreviewNoMemory")); return null;
    default: showMessage(winText("kStrPlayFailed")); return null;
  }
}

async function play() {
  stop();
  hideMessage();
  const wav = makeWav();
  if (!wav) return;
  try {
    audio = audio || new AudioContext();
    const buffer = await audio.decodeAudioData(wav.buffer.slice(0));
    playing = audio.createBufferSource();
    playing.buffer = buffer;
    playing.connect(audio.destination);
    playing.onended = () => { playing = null; };
    playing.start();
  } catch (e) {
    showMessage(word("noAudio"));
  }
}

function stop() {
  if (playing) { try { playing.stop(); } catch (e) { /* ended already */ } playing = null; }
}

function saveWav() {
  const wav = makeWav();
  if (wav) download(wav, `${baseName()}.wav`, "audio/wav");
}

// ---- language --------------------------------------------------------------

function setLanguage(code) {
  lang = WORDS[code] ? code : "en";
  document.documentElement.lang = lang;
  $("language").value = lang;
  for (const el of document.querySelectorAll("[data-t]")) el.textContent = word(el.dataset.t);
  const resolution = $("resolution"), chosen = resolution.selectedIndex;
  resolution.replaceChildren();
  for (let i = 0; i < 18; ++i) resolution.add(new Option(winText(`kStrValue${i}`), i));
  resolution.selectedIndex = chosen >= 0 ? chosen : 13;
  if (core) {
    // The report speaks the page's language too.
    core._morvek_set(Setting.reportLanguage, lang === "ja" ? 1 : 0);
    showFile();
    if (programBytes) makeReport(programBytes);
  }
}

function startLanguage() {
  const asked = new URLSearchParams(location.search).get("lang");
  const browser = (navigator.languages && navigator.languages[0]) || navigator.language || "en";
  return asked || (browser.toLowerCase().startsWith("ja") ? "ja" : "en");
}

// ---- start -----------------------------------------------------------------

function wire() {
  const kind = $("kind");
  KINDS.forEach((k, i) => kind.add(new Option(k, i)));
  const voices = $("voices");
  VOICES.forEach((v) => voices.add(new Option(v, v)));
  setLanguage(startLanguage());
  $("language").addEventListener("change", (e) => setLanguage(e.target.value));
  $("message-close").addEventListener("click", hideMessage);
  $("file").addEventListener("change", (e) => { if (e.target.files[0]) openFile(e.target.files[0]); e.target.value = ""; });
  $("demo").addEventListener("click", async () => {
    try {
      const response = await fetch("demo.mid");
      if (!response.ok) throw new Error(response.status);
      openBytes(new Uint8Array(await response.arrayBuffer()), "demo.mid");
    } catch (e) {
      showMessage(`demo.mid\n${winText("kStrReadFailed")}`);
    }
  });
  const drop = $("drop");
  document.addEventListener("dragover", (e) => { e.preventDefault(); drop.classList.add("over"); });
  document.addEventListener("dragleave", () => drop.classList.remove("over"));
  document.addEventListener("drop", (e) => {
    e.preventDefault();
    drop.classList.remove("over");
    const files = e.dataTransfer.files;
    if (files.length > 1) showMessage(winText("kStrDropOneFile"), { info: true });
    if (files.length > 0) openFile(files[0]);
  });
  $("add").addEventListener("click", addPart);
  $("remove").addEventListener("click", removePart);
  $("in-order").addEventListener("click", assignInOrder);
  $("clear-parts").addEventListener("click", clearParts);
  $("channels").addEventListener("dblclick", addPart);
  $("channels").addEventListener("keydown", (e) => { if (e.key === "Enter") { e.preventDefault(); addPart(); } });
  $("parts").addEventListener("keydown", (e) => {
    if (e.key === "Delete" || e.key === "Backspace") { e.preventDefault(); removePart(); }
  });
  $("voices").addEventListener("change", changeVoices);
  $("lenient").addEventListener("change", (e) => setLenient(e.target.checked));
  $("convert").addEventListener("click", convert);
  $("save").addEventListener("click", save);
  $("copy").addEventListener("click", copy);
  $("play").addEventListener("click", play);
  $("stop").addEventListener("click", stop);
  $("save-wav").addEventListener("click", saveWav);
}

document.addEventListener("DOMContentLoaded", async () => {
  wire();
  try {
    core = await MorvekCore();
  } catch (e) {
    showMessage(word("loading"));
    return;
  }
  core._morvek_set(Setting.reportLanguage, lang === "ja" ? 1 : 0);
  showFile();
  document.body.dataset.ready = "1";
});
