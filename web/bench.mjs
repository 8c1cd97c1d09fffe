// Times the page in headless Chromium (Debian's): how long it takes to be ready after it is
// opened from disk, and how long a run of a sample file takes in it (the engine's part and
// the whole until the views are shown), each the median of several tries; how the progress
// bar moves while the file is read and run; how long the results list takes to sort by a
// column and the plot to change its index or test variable, until the next frame is drawn;
// how long Cancel takes while the file is read and while it is run, until the step before is
// shown and until a new engine is ready; then the memory of the browser's processes (their
// resident sizes summed, Linux's ps) after the file is opened and run once, and after it is
// opened and run six times in the same page. Not a test.
// Usage: node web/bench.mjs BUILD_FOLDER SAMPLE_FILE GIG TYPE
import { execFileSync } from "node:child_process";
import { createRequire } from "node:module";
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join, resolve } from "node:path";
import { pathToFileURL } from "node:url";

const [buildFolder, sample, gig, type] = process.argv.slice(2);
const { chromium } = createRequire(import.meta.url)("playwright-core");
const profile = mkdtempSync(join(tmpdir(), "torrentix-bench-"));
const context = await chromium.launchPersistentContext(profile, {
  executablePath: "/usr/bin/chromium",
  headless: true,
  args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
    "--disable-component-update", "--disable-sync"],
});
const page = context.pages()[0] ?? (await context.newPage());
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const url = pathToFileURL(resolve(buildFolder, "torrentix.html")).href;
const long = { timeout: 600_000 };

async function openSample() {
  await page.selectOption("#gig", gig);
  await page.selectOption("#type", type);
  await page.setInputFiles("#file", sample);
}

// Every change of the progress bar and of its stage's text, with its time in the page.
async function recordProgress() {
  await page.evaluate(() => {
    const bar = document.getElementById("progress-bar");
    const stage = document.getElementById("progress-stage");
    window.ticks = [[performance.now(), bar.value, stage.textContent]];
    const record = () => window.ticks.push([performance.now(), bar.value, stage.textContent]);
    window.recorders?.forEach((r) => r.disconnect());
    window.recorders = [new MutationObserver(record), new MutationObserver(record)];
    window.recorders[0].observe(bar, { attributes: true });
    window.recorders[1].observe(stage, { childList: true, characterData: true, subtree: true });
  });
}

// The progress recorded until now: the time it took until `end` (in page time, else now), its
// ticks, the time at 0 first, the time from its last tick until the end, the longest time it
// stood still (with where it stood) and its stages.
async function progressSummary(end) {
  const ticks = await page.evaluate(() => window.ticks);
  const until = end ?? (await page.evaluate(() => performance.now()));
  let still = { ms: 0, at: 0 };
  ticks.forEach(([t, value], i) => {
    const next = i + 1 < ticks.length ? ticks[i + 1][0] : until;
    if (next - t > still.ms) {
      still = { ms: next - t, at: value };
    }
  });
  const moved = ticks.find(([, value]) => value > 0);
  const stages = [...new Set(ticks.slice(1).map(([, , stage]) => stage).filter((s) => s))];
  return {
    took: Math.round(until - ticks[0][0]),
    ticks: ticks.length - 1,
    atZero: Math.round((moved ? moved[0] : until) - ticks[0][0]),
    afterLast: Math.round(until - ticks.at(-1)[0]),
    still: `${Math.round(still.ms)} ms at ${Math.round(still.at * 100)} %`,
    stages,
  };
}

// The time from `act` (run in the page) until the frame after it is drawn.
function untilDrawn(act) {
  return page.evaluate(async (source) => {
    const started = performance.now();
    new Function(source)();
    await new Promise((done) => requestAnimationFrame(() => setTimeout(done, 0)));
    return performance.now() - started;
  }, act);
}

// Cancel once the progress shows `stage`: the time until the step before is shown, and until
// the new engine is ready for the next request.
async function cancelLatency(stage) {
  await page.waitForFunction((s) => document.getElementById("progress-stage").textContent.startsWith(s) &&
    document.getElementById("progress-bar").value > 0, stage, { ...long, polling: 20 });
  return page.evaluate(async () => {
    const started = performance.now();
    document.getElementById("cancel").click();
    await new Promise((done) => requestAnimationFrame(() => setTimeout(done, 0)));
    const shown = performance.now() - started;
    while (document.body.dataset.engine !== "ready") {
      await new Promise((done) => setTimeout(done, 5));
    }
    return [shown, performance.now() - started];
  });
}

const ready = [];
const runs = [];
const engine = [];
let readProgress;
let runProgress;
const sorts = [];
const plotChanges = [];
for (let i = 0; i < 5; ++i) {
  const started = Date.now();
  await page.goto(url);
  await page.waitForSelector("body[data-ready=true]");
  ready.push(Date.now() - started);
  if (i < 3) {
    await recordProgress();
    await openSample();
    await page.waitForSelector("#options:not([hidden])", long);
    readProgress ??= await progressSummary();
    await page.locator("#option-rows tr").nth(0).locator(".bio").check();
    await recordProgress();
    await page.click("#run");
    await page.waitForSelector("#results:not([hidden])", long);
    runProgress ??= await progressSummary(await page.evaluate(() => performance.getEntriesByName("engine")[0].duration +
      performance.getEntriesByName("engine")[0].startTime));
    const [e, r] = await page.evaluate(() => ["engine", "run"].map((n) => performance.getEntriesByName(n)[0].duration));
    engine.push(e);
    runs.push(r);
  }
  if (i === 2) {
    // Sorting by each column of numbers in turn, then the same again in reverse; the plot's index
    // and test variable changed in turn.
    for (const column of [4, 5, 6, 4, 5, 6]) {
      sorts.push(await untilDrawn(`document.querySelectorAll("#list-head button")[${column}].click()`));
    }
    for (const [select, value] of [["plot-index", "gig"], ["plot-variable", "1"], ["plot-index", "star"], ["plot-variable", "2"],
      ["plot-variable", "0"]]) {
      plotChanges.push(await untilDrawn(`const s = document.getElementById("${select}"); s.value = "${value}";
        s.dispatchEvent(new Event("change"));`));
    }
  }
}

const cancelRead = [];
const cancelRun = [];
for (let i = 0; i < 3; ++i) {
  await openSample();
  cancelRead.push(await cancelLatency("Reading"));
  await openSample();
  await page.waitForSelector("#options:not([hidden])", long);
  await page.click("#run");
  cancelRun.push(await cancelLatency("Computing the metrics"));
  await page.waitForSelector("#options:not([hidden])");
  await page.click("#back");
}

// The browser's processes are those started with the profile's folder.
function residentMegabytes() {
  const lines = execFileSync("ps", ["-eo", "rss=,args="]).toString().split("\n").filter((l) => l.includes(profile));
  return Math.round(lines.reduce((sum, l) => sum + Number(l.trim().split(/\s+/)[0]), 0) / 1024);
}
const memory = [];
await page.goto(url);
await page.waitForSelector("body[data-ready=true]");
for (let k = 0; k < 6; ++k) {
  if (k > 0) {
    await page.click("#new-file");
  }
  await openSample();
  await page.waitForSelector("#options:not([hidden])", long);
  await page.click("#run");
  await page.waitForSelector("#results:not([hidden])", long);
  memory.push(residentMegabytes());
}

const ms = (values) => `${Math.round(median(values))} ms (${values.map(Math.round).join(", ")})`;
console.log(`page ready: ${median(ready)} ms (${ready.join(", ")})`);
console.log(`run in the page: ${Math.round(median(runs))} ms, of which the engine ${Math.round(median(engine))} ms`);
console.log(`progress of the read: ${JSON.stringify(readProgress)}`);
console.log(`progress of the run: ${JSON.stringify(runProgress)}`);
console.log(`sort of the results list: ${ms(sorts)}`);
console.log(`plot changed: ${ms(plotChanges)}`);
console.log(`Cancel while reading, until the step is shown: ${ms(cancelRead.map(([s]) => s))}; until a new engine is ready: ${ms(cancelRead.map(([, e]) => e))}`);
console.log(`Cancel while running, until the step is shown: ${ms(cancelRun.map(([s]) => s))}; until a new engine is ready: ${ms(cancelRun.map(([, e]) => e))}`);
console.log(`memory after each of six opens and runs: ${memory.join(", ")} MB (${(memory[5] / memory[0]).toFixed(2)} × the first)`);
await context.close();
rmSync(profile, { recursive: true, force: true });
