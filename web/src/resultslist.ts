// The sortable results list: only the rows in view are in the page, so that 200,000
// samples scroll smoothly. A header button sorts by its column, again in reverse. The
// cells' texts and the ranks they sort by are the engine's, those of the desktop program's
// list: a column sorts as text, its cells without a value last in either direction, and
// rows of equal rank keep the order they had.

import type { ListColumns } from "./protocol";

const rowHeight = 26; // pixels, as .list-row in the style

export class ResultsList {
  private columns: ListColumns = { cells: [], ranks: [] };
  private order: number[] = [];
  private sortColumn = -1;
  private descending = false;

  constructor(
    private readonly head: HTMLElement,
    private readonly body: HTMLElement,
    private readonly spacer: HTMLElement,
  ) {
    body.addEventListener("scroll", () => this.render());
  }

  // A run's rows sorted again as last chosen: from their sample order, or from their order
  // as shown when the same rows come with further columns (the bootstrap intervals).
  show(headers: string[], columns: ListColumns, sameRows = false): void {
    this.columns = columns;
    if (!sameRows) {
      this.order = (columns.cells[0] ?? []).map((_, i) => i);
    }
    this.head.replaceChildren(
      ...headers.map((header, column) => {
        const button = document.createElement("button");
        button.type = "button";
        button.textContent = header;
        button.setAttribute("role", "columnheader");
        button.setAttribute("aria-label", `Sort by ${header}`);
        button.addEventListener("click", () => {
          this.descending = column === this.sortColumn ? !this.descending : false;
          this.sortColumn = column;
          this.sort();
        });
        return button;
      }),
    );
    // Number, code, sample and class, then the numbers, sharing what is left.
    this.head.parentElement?.style.setProperty("--columns", `3rem 6rem 9rem 3.5rem repeat(${headers.length - 4}, minmax(4.5rem, 1fr))`);
    this.spacer.style.height = `${this.order.length * rowHeight}px`;
    if (!sameRows) {
      this.body.scrollTop = 0;
    }
    this.sort();
  }

  private sort(): void {
    const ranks = this.columns.ranks[this.sortColumn];
    if (ranks) {
      const sign = this.descending ? -1 : 1;
      const last = (i: number) => Number(ranks[i] === 0);
      this.order.sort((a, b) => last(a) - last(b) || sign * (ranks[a] - ranks[b]));
    }
    this.head.querySelectorAll("button").forEach((button, i) => {
      button.setAttribute("aria-sort", i === this.sortColumn ? (this.descending ? "descending" : "ascending") : "none");
    });
    this.render();
  }

  private render(): void {
    const first = Math.floor(this.body.scrollTop / rowHeight);
    const count = Math.ceil(this.body.clientHeight / rowHeight) + 2;
    const visible: HTMLElement[] = [];
    for (let k = first; k < Math.min(this.order.length, first + count); ++k) {
      const row = document.createElement("div");
      row.className = "list-row";
      row.setAttribute("role", "row");
      row.style.top = `${k * rowHeight}px`;
      for (const column of this.columns.cells) {
        const span = document.createElement("span");
        span.setAttribute("role", "gridcell");
        span.textContent = column[this.order[k]];
        row.append(span);
      }
      visible.push(row);
    }
    this.body.replaceChildren(this.spacer, ...visible);
  }
}
