// The engine's Web Worker: the WebAssembly engine, its taxa database embedded, over a file
// system in memory. Each sample file is written to a folder of its own; the files a run
// writes beside it go back to the page.

import type { Catalogue, FromWorker, OutputFile, ToWorker } from "./protocol";

interface EngineSession {
  families(): string;
  inspect(path: string, taxaMap: string, decimalComma: boolean): string;
  run(path: string, request: string, progress: (fraction: number) => void): string;
  intervals(replicates: number, seed: number, progress: (fraction: number) => void): string;
}

interface EngineModule {
  Session: new (databasePath: string) => EngineSession;
  FS: {
    mkdir(path: string): void;
    writeFile(path: string, data: Uint8Array): void;
    readFile(path: string): Uint8Array;
    readdir(path: string): string[];
    unlink(path: string): void;
    chdir(path: string): void;
  };
}

declare function createTorrentixEngine(): Promise<EngineModule>;

const scope = self as unknown as { postMessage(message: FromWorker, transfer?: Transferable[]): void; onmessage: ((event: MessageEvent<ToWorker>) => void) | null };

let engine: EngineModule;
let session: EngineSession;
let folderCount = 0;
let sampleName = "";

function post(message: FromWorker): void {
  const files = "files" in message ? message.files : [];
  scope.postMessage(message, files.map((f) => f.bytes.buffer));
}

// Progress is passed on only when it moves by a hundredth, so that the page is not flooded.
function progressReporter(): (fraction: number) => void {
  let last = -1;
  return (fraction) => {
    if (fraction - last >= 0.01 || fraction >= 1) {
      last = fraction;
      post({ kind: "progress", fraction });
    }
  };
}

function filesWritten(paths: string[]): OutputFile[] {
  return paths.map((path) => ({ name: path.substring(path.lastIndexOf("/") + 1), bytes: engine.FS.readFile(path) }));
}

// Leaves only the sample file in the current folder, before a run writes its outputs anew.
function clearOutputs(): void {
  for (const name of engine.FS.readdir(".")) {
    if (name !== "." && name !== ".." && name !== sampleName) {
      engine.FS.unlink(name);
    }
  }
}

function handle(message: ToWorker): void {
  switch (message.kind) {
    case "inspect": {
      // A folder per file, the current one while it is worked on: the engine gets the file's
      // name as the batch command run beside the file does, and writes its outputs there.
      const folder = `/samples/${++folderCount}`;
      engine.FS.mkdir(folder);
      engine.FS.chdir(folder);
      sampleName = message.fileName;
      engine.FS.writeFile(sampleName, message.bytes);
      const answer = JSON.parse(session.inspect(sampleName, message.taxaMap, message.decimalComma));
      post({ kind: "inspected", answer });
      break;
    }
    case "run": {
      clearOutputs();
      const answer = JSON.parse(session.run(sampleName, JSON.stringify(message.request), progressReporter()));
      post({ kind: "ran", answer, files: answer.ok ? filesWritten(answer.files) : [] });
      break;
    }
    case "intervals": {
      const answer = JSON.parse(session.intervals(message.replicates, message.seed, progressReporter()));
      post({ kind: "intervals", answer, files: answer.ok ? filesWritten(answer.files) : [] });
      break;
    }
  }
}

createTorrentixEngine().then(
  (module) => {
    engine = module;
    session = new engine.Session("/ICMTAXA.db");
    engine.FS.mkdir("/samples");
    const catalogue = JSON.parse(session.families()) as Catalogue;
    scope.onmessage = (event) => {
      try {
        handle(event.data);
      } catch (error) {
        post({ kind: "failed", error: String(error) });
      }
    };
    post({ kind: "ready", catalogue });
  },
  (error) => post({ kind: "failed", error: String(error) }),
);
