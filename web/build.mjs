// Builds the page: one self-contained file BUILD/torrentix.html holding its scripts, its
// styles and the engine's Web Worker (the WebAssembly engine and the taxa database inlined),
// so that it works opened from disk without any network.
// Usage: node web/build.mjs BUILD_FOLDER
import { build } from "esbuild";
import { readFileSync, writeFileSync } from "node:fs";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";

const here = dirname(fileURLToPath(import.meta.url));
const buildFolder = resolve(process.argv[2] ?? "build-web");

async function bundle(entry) {
  const result = await build({
    entryPoints: [join(here, "src", entry)],
    bundle: true,
    write: false,
    minify: true,
    format: "iife",
    target: "es2020",
    loader: { ".css": "text" },
    plugins: [workerSource],
  });
  return result.outputFiles[0].text;
}

// The worker's script, the engine module followed by the worker's own code, imported by
// the page as a text.
const workerSource = {
  name: "worker-source",
  setup(b) {
    b.onResolve({ filter: /^worker-source$/ }, () => ({ path: "worker-source", namespace: "worker" }));
    b.onLoad({ filter: /.*/, namespace: "worker" }, async () => {
      const engine = readFileSync(join(buildFolder, "torrentix-engine.js"), "utf8");
      return { contents: JSON.stringify(engine + "\n" + (await bundle("worker.ts"))), loader: "json" };
    });
  },
};

const script = (await bundle("main.ts")).replaceAll("</script", "<\\/script");
const style = readFileSync(join(here, "src", "style.css"), "utf8") +
  readFileSync(join(here, "node_modules", "uplot", "dist", "uPlot.min.css"), "utf8");
const page = readFileSync(join(here, "src", "index.html"), "utf8")
  .replace("/*STYLE*/", () => style)
  .replace("/*SCRIPT*/", () => script);
writeFileSync(join(buildFolder, "torrentix.html"), page);
console.log(`${join(buildFolder, "torrentix.html")}: ${page.length} bytes`);
