// The sortable results list: only the rows in view are in the page, so that 200,000
// samples scroll smoothly. The list is one grid in one scrolling box: its header row stays at
// the top and moves sideways with the columns. A header's button sorts by its column, again
// in reverse. The cells' texts and the ranks they sort by are the engine's, those of the
// desktop program's list: a column sorts as text, its cells without a value last in either
// direction, and rows of equal rank keep the order they had.

import type { ListColumn } from "./protocol";

const rowHeight = 26; // pixels, as .list-row in the style
const utf8 = new TextDecoder();

// The text of sample i's cell in a column.
export function cellText(column: ListColumn, i: number): string {
  return utf8.decode(column.text.subarray(i === 0 ? 0 : column.ends[i - 1], column.ends[i]));
}

// Number, code, sample and class, then the numbers, in rem: the narrowest each column gets.
function columnWidths(count: number): number[] {
  return [3, 6, 9, 4.5, ...Array<number>(Math.max(0, count - 4)).fill(6)];
}

export class ResultsList {
  private columns: ListColumn[] = [];
  private order: number[] = [];
  private sortColumn = -1;
  private descending = false;

  // `box` scrolls, `head` is its header row, `body` holds the rows.
  constructor(
    private readonly box: HTMLElement,
    private readonly head: HTMLElement,
    private readonly body: HTMLElement,
  ) {
    box.addEventListener("scroll", () => this.render());
  }

  // A run's rows sorted again as last chosen: from their sample order, or from their order
  // as shown when the same rows come with further columns (the bootstrap intervals).
  show(headers: string[], columns: ListColumn[], sameRows = false): void {
    this.columns = columns;
    if (!sameRows) {
      this.order = Array.from({ length: columns[0]?.ends.length ?? 0 }, (_, i) => i);
    }
    this.head.replaceChildren(
      ...headers.map((header, column) => {
        const cell = document.createElement("div");
        cell.setAttribute("role", "columnheader");
        const button = document.createElement("button");
        button.type = "button";
        button.textContent = header;
        button.title = `Sort by ${header}`;
        button.addEventListener("click", () => {
          this.descending = column === this.sortColumn ? !this.descending : false;
          this.sortColumn = column;
          this.sort();
        });
        cell.append(button);
        return cell;
      }),
    );
    const widths = columnWidths(headers.length);
    this.box.style.setProperty("--columns", widths.map((w) => `minmax(${w}rem, 1fr)`).join(" "));
    this.box.style.setProperty("--list-width", `${widths.reduce((a, b) => a + b, 0)}rem`);
    this.box.setAttribute("aria-rowcount", String(this.order.length + 1));
    this.body.style.height = `${this.order.length * rowHeight}px`;
    if (!sameRows) {
      this.box.scrollTop = 0;
    }
    this.sort();
  }

  // No rows and no columns: the run's texts are let go.
  clear(): void {
    this.show([], []);
  }

  private sort(): void {
    const ranks = this.columns[this.sortColumn]?.ranks;
    if (ranks) {
      const sign = this.descending ? -1 : 1;
      const last = (i: number) => Number(ranks[i] === 0);
      this.order.sort((a, b) => last(a) - last(b) || sign * (ranks[a] - ranks[b]));
    }
    [...this.head.children].forEach((cell, i) => {
      cell.setAttribute("aria-sort", i === this.sortColumn ? (this.descending ? "descending" : "ascending") : "none");
    });
    this.render();
  }

  private render(): void {
    const scrolled = Math.max(0, this.box.scrollTop - this.head.offsetHeight);
    const first = Math.floor(scrolled / rowHeight);
    const count = Math.ceil(this.box.clientHeight / rowHeight) + 2;
    const visible: HTMLElement[] = [];
    for (let k = first; k < Math.min(this.order.length, first + count); ++k) {
      const row = document.createElement("div");
      row.className = "list-row";
      row.setAttribute("role", "row");
      row.setAttribute("aria-rowindex", String(k + 2));
      row.style.top = `${k * rowHeight}px`;
      for (const column of this.columns) {
        const span = document.createElement("span");
        span.setAttribute("role", "gridcell");
        span.textContent = cellText(column, this.order[k]);
        row.append(span);
      }
      visible.push(row);
    }
    this.body.replaceChildren(...visible);
  }
}
