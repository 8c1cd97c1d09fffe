// The class histogram: one bar per quality class, drawn as SVG, its counts told to screen
// readers.

const svgNs = "http://www.w3.org/2000/svg";

function element(name: string, attributes: Record<string, string | number>, text?: string): SVGElement {
  const e = document.createElementNS(svgNs, name);
  for (const [key, value] of Object.entries(attributes)) {
    e.setAttribute(key, String(value));
  }
  if (text !== undefined) {
    e.textContent = text;
  }
  return e;
}

export function drawHistogram(host: HTMLElement, names: string[], counts: number[]): void {
  const width = 320;
  const height = 220;
  const top = Math.max(1, ...counts);
  const barWidth = (width - 20) / counts.length;
  const svg = element("svg", { viewBox: `0 0 ${width} ${height}`, width: "100%", "aria-hidden": "true" });
  counts.forEach((count, i) => {
    const barHeight = ((height - 60) * count) / top;
    const x = 10 + i * barWidth;
    svg.append(element("rect", { x: x + 4, y: height - 40 - barHeight, width: barWidth - 8, height: barHeight, fill: "currentColor", opacity: 0.6 }));
    svg.append(element("text", { x: x + barWidth / 2, y: height - 44 - barHeight, "text-anchor": "middle", "font-size": 11, fill: "currentColor" }, String(count)));
    svg.append(element("text", { x: x + barWidth / 2, y: height - 26, "text-anchor": "middle", "font-size": 9, fill: "currentColor" }, names[i].replace("Not Classified", "N.C.")));
  });
  host.replaceChildren(svg);
  host.setAttribute("aria-label", "Quality classes: " + names.map((n, i) => `${n} ${counts[i]}`).join(", "));
}
