#include "input/blockjoin.h"

#include "base/memory.h"
#include "base/parallel.h"
#include "base/text.h"

#include <algorithm>

namespace torrentix {

JoinedRows joinBlocks(std::vector<ParsedBlock> parsed, ReadResult& result) {
    JoinedRows joined;
    SampleTable& table = result.table;
    std::optional<int> blankLine;
    int unread = 0, skipped = 0, firstSkipped = 0;
    for (ParsedBlock& block : parsed) {
        firstSkipped = skipped == 0 ? block.firstSkippedBlankLine : firstSkipped;
        skipped += block.skippedBlankLines;
        if (blankLine) {
            unread += block.nonBlankBeforeBlank + block.nonBlankAfterBlank;
            continue;
        }
        joined.anyRow = joined.anyRow || block.nonBlankBeforeBlank > 0;
        if (block.fault) {
            throw Error(block.fault->message(static_cast<int>(joined.kept) + block.fault->keptBefore + 1));
        }
        joined.kept += static_cast<std::size_t>(std::count(block.kept.begin(), block.kept.end(), true));
        for (std::size_t k = 0; k < 3; ++k) {
            table.numericTestValueCounts[k] += block.numericTestValueCounts[k];
        }
        if (joined.decimalCommas == 0) {
            joined.firstDecimalComma = block.firstDecimalComma;
        }
        joined.decimalCommas += block.decimalCommas;
        if (joined.decimalPoints == 0) {
            joined.firstDecimalPoint = block.firstDecimalPoint;
        }
        joined.decimalPoints += block.decimalPoints;
        if (table.classWordCount == 0) {
            table.firstClassWord = block.firstClassWord;
        }
        table.classWordCount += block.classWords;
        result.doubtfulCount += block.doubtfulCount;
        for (DoubtfulCell& cell : block.doubtfulCells) {
            if (result.doubtfulCells.size() < doubtfulCellsListed) {
                result.doubtfulCells.push_back(std::move(cell));
            }
        }
        if (block.blankLine) {
            blankLine = block.blankLine;
            unread += block.nonBlankAfterBlank;
        }
        joined.blocks.push_back(std::move(block));
    }
    if (unread > 0) {
        result.unread = LinesAfterBlank{*blankLine, unread};
        result.notes.push_back(dataEndText(*result.unread));
    }
    if (skipped > 0) {
        result.notes.push_back(countOf(static_cast<std::size_t>(skipped), "empty line") +
                               " inside the data " + (skipped == 1 ? "was" : "were") +
                               " read past, as asked (the first: line " + std::to_string(firstSkipped) +
                               ").");
    }
    return joined;
}

void fillTable(JoinedRows& rows, const std::vector<int>& familyOfColumn, unsigned threads, SampleTable& table,
               std::vector<std::string>& notes) {
    if (!rows.familyOfColumn) { // else each block was merged as it was parsed
        forEachIndex(rows.blocks.size(), threads, [&](std::size_t k) {
            ParsedBlock& block = rows.blocks[k];
            block.abundances.mergeInto(familyOfColumn, table.familyNames.size(), block.kept);
        });
    }
    table.samples.reserve(rows.kept);
    // The samples move from the blocks into one array: for a large file the memory of the
    // blocks already emptied is handed back now and then, so that the two are not held at once.
    FreedMemory emptied(std::size_t{8} << 20);
    std::string droppedLines;
    std::size_t dropped = 0;
    for (ParsedBlock& block : rows.blocks) {
        for (std::size_t r = 0; r < block.samples.size(); ++r) {
            if (block.kept[r]) {
                Sample& sample = block.samples[r];
                sample.name = fitWidth(sample.fullName, sampleNameWidth, table.utf8);
                sample.line = block.fileLines[r];
                table.samples.push_back(std::move(sample));
            } else {
                if (dropped < 10) {
                    droppedLines += (dropped == 0 ? "" : ", ") + std::to_string(block.fileLines[r]);
                }
                ++dropped;
            }
        }
        table.abundances.appendBlock(std::move(block.abundances));
        const std::size_t bytes = block.samples.capacity() * sizeof(Sample);
        block = ParsedBlock();
        emptied.freed(bytes);
    }
    if (dropped > 0) {
        notes.push_back(countOf(dropped, "sample") + " with a total abundance of 0 " +
                        (dropped == 1 ? "was" : "were") + " left out (file line" +
                        (dropped == 1 ? " " : "s ") + droppedLines + (dropped > 10 ? ", ..." : "") + ").");
    }
}

} // namespace torrentix
