#!/usr/bin/env python3
"""Prints line and branch coverage per source folder from a gcovr JSON summary."""
import json
import sys
from collections import defaultdict


def percent(covered, total):
    return f"{100.0 * covered / total:6.1f} %" if total else "     - "


def main(path):
    with open(path, encoding="utf-8") as f:
        summary = json.load(f)
    folders = defaultdict(lambda: [0, 0, 0, 0])
    for entry in summary["files"]:
        parts = entry["filename"].split("/")
        if parts[0] != "src":
            continue  # code generated in the build folder (Qt's moc)
        folder = "/".join(parts[:2]) if parts[0] == "src" and len(parts) > 2 else parts[0]
        counts = folders[folder]
        counts[0] += entry["line_covered"]
        counts[1] += entry["line_total"]
        counts[2] += entry["branch_covered"]
        counts[3] += entry["branch_total"]
    print(f"{'folder':<14}{'lines':>10}{'branches':>12}")
    for folder in sorted(folders):
        c = folders[folder]
        print(f"{folder:<14}{percent(c[0], c[1]):>10}{percent(c[2], c[3]):>12}")
    total = [sum(c[i] for c in folders.values()) for i in range(4)]
    print(f"{'all of src':<14}{percent(total[0], total[1]):>10}{percent(total[2], total[3]):>12}")


if __name__ == "__main__":
    main(sys.argv[1])
