// The page's engine worker (web/src/worker.ts) under node, over the engine module of the
// browser build: the page's requests are posted to it as the page posts them. Every request
// is answered with its number, a failed one with its error; the views handed over hold the
// numbers of the tables written, and the page's plot draws them; once a request is answered,
// no sample file or file written beside it stays in the worker's memory; and the runs take the
// rows the engine read, never the file again, nor a refused file's.
// Needs TORRENTIX_BUILD_WEB, the folder of torrentix-engine.js, and web/node_modules.

import { before, test } from "node:test";
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import { dirname, join } from "node:path";
import { setImmediate } from "node:timers/promises";
import { fileURLToPath } from "node:url";

const root = join(dirname(fileURLToPath(import.meta.url)), "..", "..");
const buildWeb = process.env.TORRENTIX_BUILD_WEB ?? join(root, "build-web");
const require = createRequire(join(root, "web", "package.json"));

let engine; // the worker's engine module, for its file system
let plotPoints; // the page's points of a plot, from web/src/plotpoints.ts
const posted = [];
let ready;

before(async () => {
  const createEngine = require(join(buildWeb, "torrentix-engine.js"));
  globalThis.createTorrentixEngine = async () => (engine = await createEngine());
  ready = new Promise((resolve) => {
    globalThis.self = {
      postMessage(message) {
        posted.push(message);
        if (message.kind === "ready") {
          resolve();
        }
      },
    };
  });
  const bundled = (file, format) => require("esbuild").buildSync({
    entryPoints: [join(root, "web", "src", file)], bundle: true, write: false, format,
  }).outputFiles[0].text;
  new Function(bundled("worker.ts", "iife"))();
  await ready;
  ({ plotPoints } = await import(`data:text/javascript,${encodeURIComponent(bundled("plotpoints.ts", "esm"))}`));
});

let requestCount = 0;

// Posts a request and returns the worker's answer to it. The engine's calls are synchronous:
// by the next turn of the event loop the worker has answered, or never will.
async function ask(request) {
  const id = ++requestCount;
  self.onmessage({ data: { ...request, id } });
  await setImmediate();
  const answer = posted.find((m) => m.id === id);
  assert.ok(answer, `request ${request.kind} was not answered: ${JSON.stringify(posted.filter((m) => m.kind !== "progress"))}`);
  return answer;
}

const sampleFiles = () => engine.FS.readdir("/samples").filter((name) => name !== "." && name !== "..");

const runRequest = (gig, type, answers = {}) => ({
  gig, type, answers, byDictionary: [], taxaMap: "", date: "", time: "", table: true,
  testVariables: [0, 1, 2].map(() => ({ min: "0", observedMin: false, biological: false })),
});

const exampleBytes = (name) => new Uint8Array(readFileSync(join(root, "examples", name)));

// A table written by a run: its columns by header, each the cells of the samples in order.
function tableColumns(file) {
  const [headers, ...rows] = new TextDecoder().decode(file.bytes).split("\n").filter((l) => l && !l.startsWith("#"))
    .map((line) => line.split("\t"));
  return Object.fromEntries(headers.map((header, c) => [header, rows.map((row) => row[c])]));
}

// A column of the list as the worker handed it over: its cells' texts.
const listCells = ({ text, ends }) =>
  [...ends].map((end, i) => new TextDecoder().decode(text.subarray(i ? ends[i - 1] : 0, end)));

// The views handed over as flat arrays hold the run's own numbers: the indices and normalised
// test variables of its table, the samples along each test variable, the bounds of its intervals.
test("the worker answers a file's inspection, run and intervals, and keeps none of the files", async () => {
  const inspected = await ask({ kind: "inspect", fileName: "alpine.txt", bytes: exampleBytes("alpine.txt"), taxaMap: "", decimalComma: false });
  assert.equal(inspected.answer.ok, true);
  const ran = await ask({ kind: "run", request: runRequest("Alp", "R-A1") });
  assert.deepEqual(ran.files.map((f) => f.name), ["alpine_OUT.txt", "alpine_taxa.tsv", "alpine_table.tsv"]);
  assert.equal(ran.views.list.length, 9);
  assert.equal(ran.views.list[0].ends.length, inspected.answer.samples);
  const table = tableColumns(ran.files[2]);
  const numbers = (cells) => cells.map((cell) => (cell === "" ? NaN : Number(cell)));
  const { values, byTestValue } = ran.views;
  assert.deepEqual([...values[0]], numbers(table.STAR_ICMi));
  assert.deepEqual([...values[1]], numbers(table.GIG_ICMi));
  ran.answer.testVariables.forEach((name, k) => {
    const cells = Object.values(table)[4 + 2 * k]; // after CODE, SAMPLE, CLASS: raw, normalised
    const normalised = values[2 + k];
    const along = byTestValue[k];
    assert.deepEqual([...normalised], numbers(cells), name);
    assert.deepEqual([...along].sort((a, b) => a - b), [...cells.keys()].filter((i) => cells[i] !== ""), name);
    assert.ok(along.every((sample, i) => i === 0 || normalised[along[i - 1]] <= normalised[sample]), name);
    for (const [index, indexValues] of [["star", values[0]], ["gig", values[1]]]) {
      const { x, y, samples } = plotPoints(ran.views, index, k);
      assert.deepEqual(samples, along);
      samples.forEach((sample, i) => assert.deepEqual([x[i], y[i]], [normalised[sample], indexValues[sample]]));
    }
  });
  assert.ok(byTestValue.some((samples) => samples.length < inspected.answer.samples)); // some have no value
  const intervals = await ask({ kind: "intervals", replicates: 10, seed: 1 });
  assert.deepEqual(intervals.files.map((f) => f.name), ["alpine_ci.tsv", "alpine_ci_regressions.tsv"]);
  const bounds = tableColumns(intervals.files[0]);
  assert.deepEqual(intervals.views.list.map(listCells), ["STAR_lo", "STAR_hi", "GIG_lo", "GIG_hi"]
    .map((header) => bounds[header].map((cell) => Number(cell).toFixed(2))));
  assert.deepEqual(sampleFiles(), []);
});

// The genus- and species-level example: its names answered after the read, each run from the
// rows read once, the same as the family-named example's, however often it is run.
test("runs take the rows read with the file, the user's answers applied to them, and never the file again", async () => {
  const written = [];
  const writeFile = engine.FS.writeFile;
  engine.FS.writeFile = (path, ...rest) => {
    written.push(path);
    return writeFile(path, ...rest);
  };
  try {
    const tableOf = async (name, answers) => {
      const ran = await ask({ kind: "run", request: runRequest("Med", "R-M1", answers) });
      assert.equal(ran.answer.ok, true, ran.answer.error);
      return new TextDecoder().decode(ran.files.find((f) => f.name === `${name}_table.tsv`).bytes);
    };
    await ask({ kind: "inspect", fileName: "mediterranean.txt", bytes: exampleBytes("mediterranean.txt"), taxaMap: "", decimalComma: false });
    const families = await tableOf("mediterranean", {});
    const inspected = await ask({ kind: "inspect", fileName: "mediterranean-genera.txt", bytes: exampleBytes("mediterranean-genera.txt"), taxaMap: "", decimalComma: false });
    const answers = Object.fromEntries(inspected.answer.unknown.map((u) => [u.name, u.dictionaryAnswer.id]));
    assert.equal(Object.keys(answers).length, 72);
    for (let k = 0; k < 2; ++k) {
      assert.equal(await tableOf("mediterranean-genera", answers), families);
    }
    // Without an answer to each name the run is refused, and the rows stay for the next.
    const partial = await ask({ kind: "run", request: runRequest("Med", "R-M1", {}) });
    assert.match(partial.answer.error, /^Unknown taxon names without an answer: /);
    assert.equal(await tableOf("mediterranean-genera", answers), families);
  } finally {
    engine.FS.writeFile = writeFile;
  }
  assert.deepEqual(written.filter((path) => path.endsWith(".txt") && !path.includes("_")), ["mediterranean.txt", "mediterranean-genera.txt"]);
  // A file refused lets the last file's rows go too: nothing is left to run.
  const refused = await ask({ kind: "inspect", fileName: "refused.txt", bytes: new TextEncoder().encode("x"), taxaMap: "", decimalComma: false });
  assert.equal(refused.answer.ok, false);
  assert.equal((await ask({ kind: "run", request: runRequest("Med", "R-M1") })).answer.error, "Read a file first.");
  assert.deepEqual(sampleFiles(), []);
});

test("a request that fails is answered with its error, and its file goes too", async () => {
  const parse = JSON.parse;
  JSON.parse = () => {
    JSON.parse = parse;
    throw new Error("no memory left");
  };
  const bytes = new Uint8Array(readFileSync(join(root, "examples", "alpine.txt")));
  const failed = await ask({ kind: "inspect", fileName: "alpine.txt", bytes, taxaMap: "", decimalComma: false });
  assert.deepEqual([failed.kind, failed.error], ["failed", "Error: no memory left"]);
  assert.deepEqual(sampleFiles(), []);
  assert.equal((await ask({ kind: "anything else" })).kind, "failed");
});
