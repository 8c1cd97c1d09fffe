// The page's engine worker (web/src/worker.ts) under node, over the engine module of the
// browser build: the page's requests are posted to it as the page posts them. Every request
// is answered with its number, a failed one with its error; and once a request is answered,
// no sample file or file written beside it stays in the worker's memory.
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
  const { outputFiles } = require("esbuild").buildSync({
    entryPoints: [join(root, "web", "src", "worker.ts")], bundle: true, write: false, format: "iife",
  });
  new Function(outputFiles[0].text)();
  await ready;
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

test("the worker answers a file's inspection, run and intervals, and keeps none of the files", async () => {
  const bytes = () => new Uint8Array(readFileSync(join(root, "examples", "alpine.txt")));
  const inspected = await ask({ kind: "inspect", fileName: "alpine.txt", bytes: bytes(), taxaMap: "", decimalComma: false });
  assert.equal(inspected.answer.ok, true);
  const request = {
    gig: "Alp", type: "R-A1", answers: {}, taxaMap: "", decimalComma: false, date: "", time: "", table: true,
    testVariables: [0, 1, 2].map(() => ({ min: "0", observedMin: false, biological: false })),
  };
  const ran = await ask({ kind: "run", fileName: "alpine.txt", bytes: bytes(), request });
  assert.deepEqual(ran.files.map((f) => f.name), ["alpine_OUT.txt", "alpine_taxa.tsv", "alpine_table.tsv"]);
  const intervals = await ask({ kind: "intervals", replicates: 10, seed: 1 });
  assert.deepEqual(intervals.files.map((f) => f.name), ["alpine_ci.tsv", "alpine_ci_regressions.tsv"]);
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
