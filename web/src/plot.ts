// The scatter plot of an index against a test variable: the samples as points, the
// regression line, its band, and the bootstrap band when intervals were computed. uPlot
// draws it on a canvas (200,000 points stay quick) as wide as its box; the same data make the
// SVG drawing, and a copy in print colours (white paper, dark axes), under the figure's
// caption and over its equation, makes the PNG. The picked sample is told to the page, which
// describes it in the engine's texts.

import uPlot from "uplot";

// The samples drawn, in ascending order of x.
export interface PlotPoints {
  x: Float64Array;
  y: Float64Array;
  samples: Uint32Array; // each point's index in the run
}

export interface PlotData {
  title: string; // the figure's caption: the file, GIG, river type, index and test variable
  equation: string; // the regression's equation, r² and n, or empty
  xTitle: string;
  yTitle: string;
  points: PlotPoints;
  line: { m: number; b: number; xmin: number } | null;
  band: (number | null)[][]; // [lower, upper] at x = 0.1, 0.2, ...
  bootstrapBand: (number | null)[][];
}

type Column = (number | null)[];

// The x values of the points and of the band's grid, ascending (a point before a grid value
// of the same x), with each series' values.
function columns(d: PlotData): uPlot.AlignedData {
  const { x, y } = d.points;
  const gridCount = Math.max(d.band.length, d.bootstrapBand.length);
  const grid = Array.from({ length: gridCount }, (_, k) => Number((0.1 * (k + 1)).toFixed(1)));
  const size = x.length + gridCount;
  const xs = new Array<number>(size);
  const ys: Column = new Array(size);
  const line: Column = new Array(size);
  const bands: Column[] = [0, 1, 2, 3].map(() => new Array<number | null>(size).fill(null));
  const at = (band: (number | null)[][], g: number, side: number) => band[g]?.[side] ?? null;
  for (let e = 0, p = 0, g = 0; e < size; ++e) {
    if (g < gridCount && (p >= x.length || grid[g] < x[p])) {
      xs[e] = grid[g];
      ys[e] = null;
      bands[0][e] = at(d.band, g, 0);
      bands[1][e] = at(d.band, g, 1);
      bands[2][e] = at(d.bootstrapBand, g, 0);
      bands[3][e] = at(d.bootstrapBand, g, 1);
      ++g;
    } else {
      xs[e] = x[p];
      ys[e] = Number.isFinite(y[p]) ? y[p] : null;
      ++p;
    }
    line[e] = d.line && xs[e] >= d.line.xmin ? d.line.m * xs[e] + d.line.b : null;
  }
  return [xs, ys, line, ...bands] as uPlot.AlignedData;
}

interface Colours {
  text: string;
  grid: string;
  points: string;
  fill: string;
}

const printColours: Colours = { text: "#000000", grid: "#d0d0d0", points: "#0b5cad", fill: "rgba(11,92,173,0.25)" };
const plotHeight = 420;
const pngWidth = 1200;

function screenColours(pointCount: number): Colours {
  const faint = pointCount > 2000 ? 0.35 : 0.8;
  return {
    text: getComputedStyle(document.body).color,
    grid: "#8884",
    points: getComputedStyle(document.documentElement).getPropertyValue("--accent").trim() || "#0b5cad",
    fill: `rgba(127,127,127,${faint})`,
  };
}

function plotOptions(d: PlotData, c: Colours, width: number, height: number, drawn?: () => void): uPlot.Options {
  return {
    width,
    height,
    scales: { x: { time: false } },
    legend: { show: false },
    cursor: { drag: { x: false, y: false }, points: { show: false } },
    axes: [
      { label: d.xTitle, stroke: c.text, grid: { stroke: c.grid }, ticks: { stroke: c.text } },
      { label: d.yTitle, stroke: c.text, grid: { stroke: c.grid }, ticks: { stroke: c.text } },
    ],
    series: [
      {},
      { label: "samples", stroke: c.points, paths: () => null, points: { show: false } },
      { label: "regression line", stroke: c.text, width: 2, spanGaps: true, points: { show: false } },
      { label: "band", stroke: c.text, dash: [3, 4], spanGaps: true, points: { show: false } },
      { label: "band", stroke: c.text, dash: [3, 4], spanGaps: true, points: { show: false } },
      { label: "bootstrap band", stroke: "#c62828", dash: [8, 4], spanGaps: true, points: { show: false } },
      { label: "bootstrap band", stroke: "#c62828", dash: [8, 4], spanGaps: true, points: { show: false } },
    ],
    // The points over the grid and under the line and the bands.
    hooks: { drawAxes: [(u) => drawPoints(u, d.points, c)], draw: drawn ? [drawn] : [] },
  };
}

// A CSS colour as the 32-bit pixel of an ImageData (bytes R, G, B, A in memory).
function pixelOf(colour: string): number {
  const ctx = document.createElement("canvas").getContext("2d", { willReadFrequently: true })!;
  ctx.fillStyle = colour;
  ctx.fillRect(0, 0, 1, 1);
  return new Uint32Array(ctx.getImageData(0, 0, 1, 1).data.buffer)[0];
}

// The offsets (x, y pairs) of the pixels of a circle of radius r: its ring, or its inside.
function circlePixels(r: number, ring: boolean): number[] {
  const offsets: number[] = [];
  for (let dy = -r; dy <= r; ++dy) {
    for (let dx = -r; dx <= r; ++dx) {
      const distance = Math.hypot(dx, dy);
      if (ring ? Math.abs(distance - r + 0.5) <= 0.6 : distance < r - 0.5) {
        offsets.push(dx, dy);
      }
    }
  }
  return offsets;
}

// The points as circles set pixel by pixel into one image laid over the plotting area: as
// many circles drawn one by one as paths take the browser seconds to paint. The insides
// first, then the rings, so that every point's ring shows.
function drawPoints(u: uPlot, points: PlotPoints, c: Colours): void {
  const { left, top } = u.bbox;
  const width = Math.round(u.bbox.width);
  const height = Math.round(u.bbox.height);
  if (width <= 0 || height <= 0 || points.x.length === 0) {
    return;
  }
  const image = new ImageData(width, height);
  const pixels = new Uint32Array(image.data.buffer);
  const at = new Int32Array(points.x.length).fill(-1);
  for (let i = 0; i < points.x.length; ++i) {
    const px = Math.round(u.valToPos(points.x[i], "x", true) - left);
    const py = Math.round(u.valToPos(points.y[i], "y", true) - top);
    if (px >= 0 && py >= 0 && px < width && py < height) {
      at[i] = py * width + px;
    }
  }
  const r = Math.max(2, Math.round(2.5 * (u.ctx.canvas.width / u.width)));
  for (const [offsets, pixel] of [[circlePixels(r, false), pixelOf(c.fill)], [circlePixels(r, true), pixelOf(c.points)]] as const) {
    for (const p of at) {
      if (p < 0) {
        continue;
      }
      const px = p % width;
      for (let k = 0; k < offsets.length; k += 2) {
        const x = px + offsets[k];
        const q = p + offsets[k + 1] * width + offsets[k];
        if (x >= 0 && x < width && q >= 0 && q < pixels.length) {
          pixels[q] = pixel;
        }
      }
    }
  }
  const layer = document.createElement("canvas");
  layer.width = width;
  layer.height = height;
  layer.getContext("2d")!.putImageData(image, 0, 0);
  u.ctx.drawImage(layer, left, top);
}

// `text` in lines no wider than `width` in the context's font.
function wrapped(ctx: CanvasRenderingContext2D, text: string, width: number): string[] {
  const lines: string[] = [];
  for (const word of text.split(" ")) {
    const last = lines.length - 1;
    if (last >= 0 && ctx.measureText(`${lines[last]} ${word}`).width <= width) {
      lines[last] += ` ${word}`;
    } else {
      lines.push(word);
    }
  }
  return lines;
}

const crcTable = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; ++k) {
    c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  }
  return c >>> 0;
});

function crc32(bytes: Uint8Array): number {
  let c = 0xffffffff;
  for (const b of bytes) {
    c = crcTable[(c ^ b) & 0xff] ^ (c >>> 8);
  }
  return (c ^ 0xffffffff) >>> 0;
}

// The PNG with a "Title" text chunk after its header chunk, in Latin-1 as PNG text is.
export function withPngTitle(png: Uint8Array, title: string): Uint8Array {
  const latin1 = [...title].map((ch) => (ch.charCodeAt(0) <= 0xff ? ch.charCodeAt(0) : 0x3f));
  const data = new Uint8Array([..."tEXtTitle"].map((ch) => ch.charCodeAt(0)).concat(0, latin1));
  const chunk = new Uint8Array(data.length + 8);
  const view = new DataView(chunk.buffer);
  view.setUint32(0, data.length - 4);
  chunk.set(data, 4);
  view.setUint32(data.length + 4, crc32(data));
  const headerEnd = 8 + 25; // signature, then IHDR's length, type, 13 bytes and CRC
  const out = new Uint8Array(png.length + chunk.length);
  out.set(png.subarray(0, headerEnd));
  out.set(chunk, headerEnd);
  out.set(png.subarray(headerEnd), headerEnd + chunk.length);
  return out;
}

export class ScatterPlot {
  private plot: uPlot | null = null;
  private data: PlotData | null = null;
  private pickedIndex = -1;

  // The arrow keys step through the samples from left to right, as a click picks one.
  constructor(
    private readonly host: HTMLElement,
    private readonly picked: (sample: number) => void,
  ) {
    host.tabIndex = 0;
    // The plot follows its box's width.
    new ResizeObserver(() => {
      const width = this.width();
      if (this.plot && Math.abs(this.plot.width - width) > 1) {
        this.plot.setSize({ width, height: plotHeight });
      }
    }).observe(host);
    host.addEventListener("keydown", (event) => {
      const step = { ArrowRight: 1, ArrowUp: 1, ArrowLeft: -1, ArrowDown: -1 }[event.key];
      const points = this.data?.points;
      if (step !== undefined && points && points.x.length > 0) {
        event.preventDefault();
        const next = Math.min(points.x.length - 1, Math.max(0, this.pickedIndex + step));
        this.tell(next);
        this.plot?.setCursor({ left: this.plot.valToPos(points.x[next], "x"), top: this.plot.valToPos(points.y[next], "y") });
      }
    });
  }

  private width(): number {
    return Math.max(160, this.host.clientWidth || 800);
  }

  private tell(index: number): void {
    this.pickedIndex = index;
    this.picked(this.data!.points.samples[index]);
  }

  show(d: PlotData): void {
    this.plot?.destroy();
    this.data = d;
    this.pickedIndex = -1;
    this.plot = new uPlot(plotOptions(d, screenColours(d.points.x.length), this.width(), plotHeight), columns(d), this.host);
    this.plot.over.addEventListener("click", () => this.pick());
  }

  // No plot: the run's points are let go.
  clear(): void {
    this.plot?.destroy();
    this.plot = null;
    this.data = null;
    this.pickedIndex = -1;
  }

  // The sample nearest to the pointer.
  private pick(): void {
    const u = this.plot;
    if (!u || !this.data || u.cursor.left === undefined || u.cursor.left < 0) {
      return;
    }
    const x = u.posToVal(u.cursor.left, "x");
    const y = u.posToVal(u.cursor.top ?? 0, "y");
    const xSpan = (u.scales.x.max ?? 1) - (u.scales.x.min ?? 0) || 1;
    const ySpan = (u.scales.y.max ?? 1) - (u.scales.y.min ?? 0) || 1;
    const points = this.data.points;
    let best = -1;
    let bestDistance = Infinity;
    for (let i = 0; i < points.x.length; ++i) {
      const distance = ((points.x[i] - x) / xSpan) ** 2 + ((points.y[i] - y) / ySpan) ** 2;
      if (distance < bestDistance) {
        bestDistance = distance;
        best = i;
      }
    }
    if (best >= 0) {
      this.tell(best);
    }
  }

  // The figure as printed: the caption above the plot, the equation below, black on white
  // whatever the page's colours.
  async png(): Promise<Blob> {
    const d = this.data;
    if (!d) {
      throw new Error("no plot");
    }
    const box = document.createElement("div");
    box.style.cssText = "position: fixed; left: -20000px; top: 0;";
    document.body.append(box);
    try {
      let drawn = () => {};
      const ready = new Promise<void>((resolve) => (drawn = resolve));
      const printed = new uPlot(plotOptions(d, printColours, pngWidth, Math.round(pngWidth * 0.6), () => drawn()), columns(d), box);
      await ready;
      const plotCanvas = printed.ctx.canvas;
      const scale = plotCanvas.width / pngWidth;
      const canvas = document.createElement("canvas");
      const ctx = canvas.getContext("2d")!;
      const font = `${Math.round(16 * scale)}px sans-serif`;
      const lineHeight = Math.round(22 * scale);
      ctx.font = font;
      const caption = wrapped(ctx, d.title, plotCanvas.width - 2 * lineHeight);
      const top = lineHeight * (caption.length + 1);
      canvas.width = plotCanvas.width;
      canvas.height = top + plotCanvas.height + (d.equation ? 2 * lineHeight : 0);
      ctx.fillStyle = "#ffffff";
      ctx.fillRect(0, 0, canvas.width, canvas.height);
      ctx.fillStyle = printColours.text;
      ctx.font = font;
      ctx.textAlign = "center";
      ctx.textBaseline = "middle";
      caption.forEach((line, k) => ctx.fillText(line, canvas.width / 2, lineHeight * (k + 1)));
      ctx.drawImage(plotCanvas, 0, top);
      if (d.equation) {
        ctx.fillText(d.equation, canvas.width / 2, top + plotCanvas.height + lineHeight);
      }
      printed.destroy();
      const blob = await new Promise<Blob>((resolve, reject) => canvas.toBlob((b) => (b ? resolve(b) : reject(new Error("no image"))), "image/png"));
      return new Blob([withPngTitle(new Uint8Array(await blob.arrayBuffer()), d.title)], { type: "image/png" });
    } finally {
      box.remove();
    }
  }

  svg(): string {
    const d = this.data;
    const u = this.plot;
    if (!d || !u) {
      return "";
    }
    const w = 800;
    const h = 500;
    const left = 70;
    const bottom = 60;
    const x0 = u.scales.x.min ?? 0;
    const x1 = u.scales.x.max ?? 1;
    const y0 = u.scales.y.min ?? 0;
    const y1 = u.scales.y.max ?? 1;
    const px = (x: number) => (left + ((x - x0) / (x1 - x0 || 1)) * (w - left - 20)).toFixed(1);
    const py = (y: number) => (h - bottom - ((y - y0) / (y1 - y0 || 1)) * (h - bottom - 40)).toFixed(1);
    const escape = (t: string) => t.replace(/&/g, "&amp;").replace(/</g, "&lt;");
    const parts = [
      `<svg xmlns="http://www.w3.org/2000/svg" width="${w}" height="${h}" viewBox="0 0 ${w} ${h}" font-family="sans-serif">`,
      `<title>${escape(d.title)}</title>`,
      `<rect width="${w}" height="${h}" fill="white"/>`,
      `<text x="${w / 2}" y="24" text-anchor="middle" font-size="13">${escape(d.title)}</text>`,
      `<rect x="${left}" y="40" width="${w - left - 20}" height="${h - bottom - 40}" fill="none" stroke="black"/>`,
      `<text x="${(left + w) / 2}" y="${h - 15}" text-anchor="middle" font-size="13">${escape(d.xTitle)}</text>`,
      `<text x="18" y="${(h - bottom) / 2}" text-anchor="middle" font-size="13" transform="rotate(-90 18 ${(h - bottom) / 2})">${escape(d.yTitle)}</text>`,
    ];
    for (const [value, axis] of [[x0, "x"], [x1, "x"], [y0, "y"], [y1, "y"]] as [number, string][]) {
      parts.push(axis === "x"
        ? `<text x="${px(value)}" y="${h - bottom + 16}" text-anchor="middle" font-size="11">${value.toFixed(2)}</text>`
        : `<text x="${left - 6}" y="${py(value)}" text-anchor="end" font-size="11">${value.toFixed(2)}</text>`);
    }
    d.points.x.forEach((x, i) => {
      if (Number.isFinite(d.points.y[i])) {
        parts.push(`<circle cx="${px(x)}" cy="${py(d.points.y[i])}" r="2.5" fill="none" stroke="#0b5cad"/>`);
      }
    });
    if (d.line) {
      parts.push(`<line x1="${px(d.line.xmin)}" y1="${py(d.line.m * d.line.xmin + d.line.b)}" x2="${px(x1)}" y2="${py(d.line.m * x1 + d.line.b)}" stroke="black" stroke-width="2"/>`);
    }
    const polyline = (band: (number | null)[][], side: number, style: string) => {
      const points = band.flatMap((b, k) => (b[side] === null ? [] : [`${px(0.1 * (k + 1))},${py(b[side] as number)}`]));
      if (points.length > 1) {
        parts.push(`<polyline points="${points.join(" ")}" fill="none" ${style}/>`);
      }
    };
    for (const side of [0, 1]) {
      polyline(d.band, side, `stroke="black" stroke-dasharray="3 4"`);
      polyline(d.bootstrapBand, side, `stroke="#c62828" stroke-dasharray="8 4"`);
    }
    parts.push("</svg>");
    return parts.join("\n");
  }
}
