// The page in a real browser: Debian's headless Chromium, driven through
// the page's own controls. What the page saves must be exactly what
// midi2morvek writes for the same file and choices.
//
//   node browser-test.js --site DIR --tool MIDI2MORVEK --work DIR
//                        [--screenshot PNG] [--bench SONG.mid]
// Prints one line per scenario ("ok"/"FAILED") and ends with
// "browser tests: N passed, N failed"; exit status 1 when one failed.
"use strict";
const fs = require("fs");
const path = require("path");
const { execFileSync } = require("child_process");
const puppeteer = require("puppeteer-core");
const { serve } = require("./serve.js");

const args = {};
for (let i = 2; i < process.argv.length; i += 2) args[process.argv[i].replace(/^--/, "")] = process.argv[i + 1];
for (const need of ["site", "tool", "work"]) {
  if (!args[need]) { console.error(`browser-test.js: --${need} is missing`); process.exit(2); }
}
const work = path.resolve(args.work);
fs.rmSync(work, { recursive: true, force: true });
fs.mkdirSync(work, { recursive: true });

// ---- files -----------------------------------------------------------------

// A Standard MIDI File from tracks of [tick, status, data1, data2] events.
function smf(format, timeBase, tracks) {
  const bytes = [];
  const u16 = (v) => bytes.push(v >> 8 & 255, v & 255);
  const u32 = (v) => bytes.push(v >>> 24, v >> 16 & 255, v >> 8 & 255, v & 255);
  bytes.push(...Buffer.from("MThd")); u32(6); u16(format); u16(tracks.length); u16(timeBase);
  for (const events of tracks) {
    const body = [];
    let last = 0;
    for (const [tick, ...data] of events.sort((a, b) => a[0] - b[0])) {
      let delta = tick - last, vlq = [delta & 127];
      last = tick;
      while ((delta >>= 7) > 0) vlq.unshift(delta & 127 | 128);
      body.push(...vlq, ...data);
    }
    body.push(0, 0xff, 0x2f, 0);
    bytes.push(...Buffer.from("MTrk")); u32(body.length); bytes.push(...body);
  }
  return Buffer.from(bytes);
}

// Chords and runs on a few channels, the same every run (a fixed seed).
function song(seed, timeBase, channels) {
  let x = seed;
  const next = (n) => { x = (x * 1103515245 + 12345) % 2147483648; return x % n; };
  const tempo = [0, 0xff, 0x51, 3, 0x07, 0xa1, 0x20];
  const tracks = [[tempo]];
  for (const ch of channels) {
    const events = [];
    let t = 0;
    for (let n = 0; n < 40; ++n) {
      const length = timeBase / 4 * (1 + next(6));
      const chord = 1 + next(3);
      for (let k = 0; k < chord; ++k) {
        const note = 40 + next(40);
        events.push([t, 0x90 | ch, note, 100], [t + length - (k ? timeBase / 8 : 0), 0x80 | ch, note, 0]);
      }
      t += length + (next(4) === 0 ? timeBase / 2 : 0);
    }
    tracks.push(events);
  }
  return smf(1, timeBase, tracks);
}

function writeFile(name, bytes) {
  const file = path.join(work, name);
  fs.writeFileSync(file, bytes);
  return file;
}

const files = {
  demo: path.join(args.site, "demo.mid"),
  chords96: writeFile("chords96.mid", song(7, 96, [0, 1, 9])),
  chords480: writeFile("chords480.mid", song(11, 480, [2, 3, 4, 5])),
  broken: writeFile("broken.mid", song(7, 96, [0]).subarray(0, 30)),
  timeBase120: writeFile("timebase120.mid", song(5, 120, [0])),
  // Read leniently only: a time base to re-time, a chunk of another kind.
  timeBase100: writeFile("timebase100.mid", song(13, 100, [0, 1, 2])),
  extraChunk: writeFile("extrachunk.mid", Buffer.concat([song(17, 240, [3, 4]), Buffer.from("XTRA\0\0\0\x02ab")])),
};

// ---- the page ------------------------------------------------------------

let browser, page, downloads, server, url;

async function start() {
  server = await serve(args.site, 0);
  url = `http://127.0.0.1:${server.address().port}/`;
  browser = await puppeteer.launch({
    executablePath: process.env.MORVEK_CHROMIUM || "/usr/bin/chromium",
    headless: true,
    args: ["--no-sandbox", "--disable-gpu", "--autoplay-policy=no-user-gesture-required", "--lang=en-US"],
  });
  page = await browser.newPage();
  page.on("pageerror", (e) => { throw new Error(`the page failed: ${e.message}`); });
  await page.setViewport({ width: 1100, height: 1400 });
  downloads = path.join(work, "downloads");
  fs.mkdirSync(downloads, { recursive: true });
  const cdp = await page.createCDPSession();
  await cdp.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: downloads });
}

async function load(query = "?lang=en") {
  await page.goto(url + query, { waitUntil: "load" });
  await page.waitForSelector("body[data-ready='1']", { timeout: 20000 });
}

async function open(file) {
  const input = await page.$("#file");
  await input.uploadFile(file);
  await page.waitForFunction((name) => document.getElementById("info-name").textContent === name ||
                             !document.getElementById("message").hidden, {}, path.basename(file));
}

async function type(selector, value) {
  await page.$eval(selector, (el) => { el.value = ""; });
  await page.type(selector, String(value));
}

async function message() {
  return page.$eval("#message", (el) => el.hidden ? "" : document.getElementById("message-text").textContent);
}

// The file the next click saves, as bytes.
async function saved(selector, name) {
  const target = path.join(downloads, name);
  fs.rmSync(target, { force: true });
  await page.click(selector);
  for (let i = 0; i < 200; ++i) {
    if (fs.existsSync(target) && !fs.existsSync(target + ".crdownload")) return fs.readFileSync(target);
    await new Promise((r) => setTimeout(r, 50));
  }
  throw new Error(`${name} was not saved (${await message()})`);
}

function tool(argv) {
  return execFileSync(args.tool, argv, { maxBuffer: 1 << 30 });
}

function same(what, got, want) {
  if (Buffer.compare(Buffer.from(got), Buffer.from(want)) !== 0) {
    const at = [...want].findIndex((b, i) => b !== got[i]);
    throw new Error(`${what}: ${got.length} bytes where midi2morvek gives ${want.length}, first difference at byte ${at}`);
  }
}

// ---- scenarios -------------------------------------------------------------

// Choices as the page's controls take them and as midi2morvek's options.
const RESOLUTION_TEXTS = { 4: "4", 7: "8", 10: "16", 13: "32", 15: "64" };
const CHOICES = [
  { file: "demo", parts: 6, resolution: 13, line: 1000, kind: 0, voices: 1, assign: "order" },
  { file: "demo", parts: 3, resolution: 10, split: 480, line: 100, kind: 1, voices: 1, assign: [2, "-", 0] },
  { file: "chords96", parts: 8, resolution: 15, split: 96, line: 32000, kind: 2, voices: 3, assign: "order" },
  { file: "chords480", parts: 5, resolution: 7, line: 10, kind: 0, voices: 2, assign: [4, 1, "-", 0, 7], keys: true },
  { file: "chords96", parts: 1, resolution: 4, split: 1, line: 1, kind: 0, voices: 1, assign: [1] },
  { file: "chords480", parts: 4, resolution: 15, line: 1000, kind: 0, voices: 2, fitLines: 120, assign: "order" },
  { file: "timeBase100", lenient: true, parts: 4, resolution: 13, line: 500, kind: 0, voices: 1, assign: "order" },
  { file: "extraChunk", lenient: true, parts: 6, resolution: 10, split: 240, line: 1000, kind: 1, voices: 2, assign: [3, 0, 1] },
];

async function choose(c) {
  // Strict reading, unless the refusal's one-click offer is taken.
  if (await page.$eval("#lenient", (el) => el.checked)) await page.click("#lenient");
  await open(files[c.file]);
  if (c.lenient) {
    const refusal = await message();
    if (!refusal || await page.$eval("#message-action", (el) => el.hidden))
      throw new Error(`${c.file} read strictly: no offer to open it leniently ('${refusal}')`);
    await page.click("#message-action");
    const problem = await message();
    if (problem) throw new Error(`${c.file} read leniently is refused: ${problem}`);
  }
  await page.select("#voices", String(c.voices));
  await type("#part-count", c.parts);
  await page.select("#resolution", String(c.resolution));
  if (c.split) await type("#split", c.split);
  await type("#first-line", c.line);
  await page.select("#kind", String(c.kind));
  await page.select("#fit-lines", String(c.fitLines || 0));
  if (c.assign === "order") {
    await page.click("#in-order");
  } else if (c.keys) {
    // From the keyboard: pick the channel row, Enter adds it to the part row
    // and moves both on; Delete empties a part row.
    await page.click("#clear-parts");
    for (let row = 0; row < c.assign.length; ++row) {
      await page.$eval("#parts", (el, r) => { el.selectedIndex = r; }, row);
      if (c.assign[row] === "-") continue;
      await page.$eval("#channels", (el, l) => { el.selectedIndex = l + 1; }, c.assign[row]);
      await page.focus("#channels");
      await page.keyboard.press("Enter");
    }
  } else {
    await page.click("#clear-parts");
    for (let row = 0; row < c.assign.length; ++row) {
      if (c.assign[row] === "-") continue;
      await page.$eval("#parts", (el, r) => { el.selectedIndex = r; }, row);
      await page.$eval("#channels", (el, l) => { el.selectedIndex = l + 1; }, c.assign[row]);
      await page.click("#add");
    }
  }
  await page.click("#convert");
  const problem = await message();
  if (problem) throw new Error(`the conversion was refused: ${problem}`);
}

function toolOptions(c) {
  const argv = [files[c.file], "-p", c.parts, "-r", RESOLUTION_TEXTS[c.resolution], "-l", c.line,
                "-k", ["PLAY", "PLAY HG", "PLAY@"][c.kind]];
  if (c.split) argv.push("-s", c.split);
  if (c.voices > 1) argv.push("--voices", c.voices);
  if (c.lenient) argv.push("--lenient");
  if (c.fitLines) argv.push("--fit-lines", c.fitLines);
  if (c.assign !== "order") argv.push("-a", c.assign.join(","));
  return argv.map(String);
}

// Several files and choices: the saved program is midi2morvek's, byte for byte.
async function programsEqualTheTool() {
  await load();
  for (const c of CHOICES) {
    await choose(c);
    const name = path.basename(files[c.file], ".mid") + ".txt";
    same(`${name} with ${toolOptions(c).slice(1).join(" ")}`, await saved("#save", name), tool(toolOptions(c)));
  }
}

// The preview of the program, at the file's tempo and at a typed one, is
// midi2morvek --wav's WAV; an edited program is read back as edited.
async function previewEqualsTheTool() {
  await load();
  const c = CHOICES[1];
  await choose(c);
  for (const tempo of ["", "97.5"]) {
    await type("#tempo", tempo);
    const wav = path.join(work, "tool.wav");
    tool([...toolOptions(c), "-o", path.join(work, "tool.txt"), "--wav", wav, ...(tempo ? ["--tempo", tempo] : [])]);
    same(`demo.wav at tempo '${tempo}'`, await saved("#save-wav", "demo.wav"), fs.readFileSync(wav));
  }
  // A line typed into the box that cannot be read back names its place.
  await page.$eval("#program", (el) => { el.value += "2000 PLAY \"Q\"\n"; });
  await page.click("#save-wav");
  const said = await message();
  if (!/cannot be read back/.test(said)) throw new Error(`an unreadable program says '${said}'`);
  // Whole notes at one quarter note a minute: a WAV of about 2.5 GB, more
  // than the page's memory; the core's own message, and the page goes on.
  await page.$eval("#program", (el) => { el.value = `1000 PLAY "${"C1".repeat(120)}"\n`; });
  await type("#tempo", "1");
  await page.click("#save-wav");
  const memory = await message();
  const strings = JSON.parse(await page.evaluate(() => JSON.stringify(MORVEK_STRINGS)));
  if (memory !== strings.kStrPreviewNoMemory[1]) throw new Error(`a preview too large for memory says '${memory}'`);
  await type("#tempo", "");
  await page.click("#convert");
  same("demo.txt after running out of memory", await saved("#save", "demo.txt"), tool(toolOptions(c)));
}

// Refused files say why in the page's language and load nothing.
async function brokenFilesSayWhy() {
  await load("?lang=ja");
  const japanese = JSON.parse(await page.evaluate(() => JSON.stringify(MORVEK_STRINGS)));
  await open(files.broken);
  const said = await message();
  if (said !== japanese.kStrNotMidi[0]) throw new Error(`a broken file says '${said}'`);
  await page.click("#message-close");
  await page.click("#convert");
  if (!(await message())) throw new Error("Convert without a file says nothing");
  await page.select("#language", "en");
  await open(files.timeBase120);
  const timeBase = await message();
  if (!timeBase.includes(japanese.kStrBadTimeBase[1]) || !timeBase.includes("120"))
    throw new Error(`a time base of 120 says '${timeBase}'`);
  await open(files.demo);
  await type("#part-count", "x");
  await page.click("#convert");
  if ((await message()) !== japanese.kStrBadPartCount[1]) throw new Error("a part count 'x' is not refused");
}

// The picture for the README after a conversion, and the page at phone
// width: nothing wider than the screen.
async function screenshotAndPhoneWidth() {
  await load();
  await choose(CHOICES[0]);
  await page.evaluate(() => window.scrollTo(0, 0));
  if (args.screenshot) await page.screenshot({ path: args.screenshot, fullPage: true });
  await page.setViewport({ width: 360, height: 740 });
  const wide = await page.evaluate(() => document.documentElement.scrollWidth);
  await page.setViewport({ width: 1100, height: 1400 });
  if (wide > 360) throw new Error(`at 360 pixels the page is ${wide} wide`);
}

// The first conversion of the demo song after the page has loaded, and the
// benchmark's song when given: the page's own timing of Convert.
async function timings() {
  await load();
  const first = await page.evaluate(async () => {
    const start = performance.now();
    document.getElementById("demo").click();
    while (document.getElementById("info-name").textContent !== "demo.mid") await new Promise((r) => setTimeout(r, 1));
    document.getElementById("in-order").click();
    document.getElementById("convert").click();
    return performance.now() - start;
  });
  const convertOnly = Number(await page.$eval("#convert-time", (el) => el.dataset.ms));
  console.log(`timing: first demo conversion ${first.toFixed(1)} ms after load (fetch, open, assign, ` +
              `convert, report; Convert itself ${convertOnly.toFixed(1)} ms)`);
  if (args.bench) {
    await open(path.resolve(args.bench));
    await page.click("#in-order");
    // Open (the file's bytes already read) and Convert, what midi2morvek
    // does besides reading and writing files.
    const runs = [], converts = [];
    for (let i = 0; i < 5; ++i) {
      runs.push(await page.evaluate(() => {
        const start = performance.now();
        openBytes(fileBytes, fileName);
        const opened = performance.now() - start;
        assignInOrder();
        convert();
        return opened;
      }));
      converts.push(Number(await page.$eval("#convert-time", (el) => el.dataset.ms)));
    }
    const ms = (list) => list.map((r) => r.toFixed(0)).join(", ");
    console.log(`timing: ${path.basename(args.bench)} in the page: open ${ms(runs)} ms, ` +
                `Convert ${ms(converts)} ms`);
  }
}

(async () => {
  let passed = 0, failed = 0;
  try {
    await start();
    for (const scenario of [programsEqualTheTool, previewEqualsTheTool, brokenFilesSayWhy,
                            screenshotAndPhoneWidth, timings]) {
      try {
        await scenario();
        console.log(`ok ${scenario.name}`);
        ++passed;
      } catch (e) {
        console.log(`FAILED ${scenario.name}: ${e.message}`);
        ++failed;
      }
    }
  } catch (e) {
    console.log(`FAILED to start: ${e.message}`);
    ++failed;
  } finally {
    if (browser) await browser.close();
    if (server) server.close();
  }
  console.log(`browser tests: ${passed} passed, ${failed} failed`);
  process.exit(failed ? 1 : 0);
})();
