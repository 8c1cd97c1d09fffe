// The engine's Web Worker: the WebAssembly engine, its taxa database embedded, over a file
// system in memory. Each request works in a folder of its own, which holds the sample file
// the request brought and the files the engine writes beside it; the written files go back
// to the page, and the folder goes with everything in it once the request is answered, so
// that no file stays in the worker's memory. The engine keeps the rows of the file it read
// last, which its runs use: the file comes with its reading only. Every request is answered,
// a failed one with its error.

import type { Answer, Catalogue, FromWorker, OutputFile, ToWorker, ViewArrays } from "./protocol";

interface EngineSession {
  families(): string;
  inspect(path: string, taxaMap: string, decimalComma: boolean, readPastBlankLines: boolean, progress: Progress): string;
  run(request: string, progress: Progress): string;
  intervals(replicates: number, seed: number, progress: Progress): string;
  takeViewArrays(): ViewArrays;
}

type Progress = (fraction: number, stage: string) => void;

interface EngineModule {
  Session: new (databasePath: string) => EngineSession;
  FS: {
    mkdir(path: string): void;
    rmdir(path: string): void;
    writeFile(path: string, data: Uint8Array, options?: { canOwn: boolean }): void;
    readFile(path: string): Uint8Array;
    readdir(path: string): string[];
    unlink(path: string): void;
    chdir(path: string): void;
  };
}

declare function createTorrentixEngine(): Promise<EngineModule>;

const scope = self as unknown as { postMessage(message: FromWorker, transfer?: Transferable[]): void; onmessage: ((event: MessageEvent<ToWorker>) => void) | null };

let session: EngineSession;
let folderCount = 0;

// The buffers a message hands over to the page rather than copies: the files written and the
// views' arrays.
function transferred(message: FromWorker): Transferable[] {
  const buffers: ArrayBufferLike[] = "files" in message ? message.files.map((f) => f.bytes.buffer) : [];
  if ("views" in message) {
    const { values, byTestValue, list } = message.views;
    buffers.push(...values.map((v) => v.buffer), ...byTestValue.map((v) => v.buffer));
    buffers.push(...list.flatMap((c) => [c.text.buffer, c.ends.buffer, c.ranks.buffer]));
  }
  return buffers as Transferable[];
}

function post(message: FromWorker): void {
  scope.postMessage(message, transferred(message));
}

// Progress is passed on when its stage changes or it moves by a hundredth, so that the page
// is not flooded.
function progressReporter(): Progress {
  let last = -1;
  let lastStage = "";
  return (fraction, stage) => {
    if (stage !== lastStage || fraction - last >= 0.01 || fraction >= 1) {
      last = fraction;
      lastStage = stage;
      post({ kind: "progress", fraction, stage });
    }
  };
}

// Runs `work` in a new folder, the current one meanwhile (the engine gets the file's name as
// the batch command run beside the file does, and writes its outputs there), then removes
// the folder with every file in it, whether the work succeeded or not.
function inFolder<T>(fs: EngineModule["FS"], work: () => T): T {
  const folder = `/samples/${++folderCount}`;
  fs.mkdir(folder);
  fs.chdir(folder);
  try {
    return work();
  } finally {
    fs.chdir("/");
    for (const name of fs.readdir(folder)) {
      if (name !== "." && name !== "..") {
        fs.unlink(`${folder}/${name}`);
      }
    }
    fs.rmdir(folder);
  }
}

function filesWritten(fs: EngineModule["FS"], paths: string[]): OutputFile[] {
  return paths.map((path) => ({ name: path.substring(path.lastIndexOf("/") + 1), bytes: fs.readFile(path) }));
}

function answer(message: ToWorker, fs: EngineModule["FS"]): Answer {
  switch (message.kind) {
    case "inspect": {
      fs.writeFile(message.fileName, message.bytes, { canOwn: true }); // held, not copied, while it is read
      return { kind: "inspected", answer: JSON.parse(session.inspect(message.fileName, message.taxaMap, message.decimalComma, message.readPastBlankLines, progressReporter())) };
    }
    case "run": {
      const ran = JSON.parse(session.run(JSON.stringify(message.request), progressReporter()));
      return { kind: "ran", answer: ran, files: ran.ok ? filesWritten(fs, ran.files) : [], views: session.takeViewArrays() };
    }
    case "intervals": {
      const intervals = JSON.parse(session.intervals(message.replicates, message.seed, progressReporter()));
      const files = intervals.ok ? filesWritten(fs, intervals.files) : [];
      return { kind: "intervals", answer: intervals, files, views: session.takeViewArrays() };
    }
    default:
      throw new Error(`Unknown request: ${(message as { kind: string }).kind}`);
  }
}

// The engine, once started; a request that comes earlier waits for it.
let catalogue: Catalogue;
const started = createTorrentixEngine().then((module) => {
  session = new module.Session("/ICMTAXA.db");
  module.FS.mkdir("/samples");
  catalogue = JSON.parse(session.families()) as Catalogue;
  return module;
});

started.then(
  () => post({ kind: "ready", catalogue }),
  (error) => post({ kind: "failed", error: `The engine could not start: ${String(error)}` }),
);

scope.onmessage = async (event) => {
  const message = event.data;
  try {
    const fs = (await started).FS;
    post({ ...inFolder(fs, () => answer(message, fs)), id: message.id });
  } catch (error) {
    post({ kind: "failed", id: message.id, error: String(error) });
  }
};
