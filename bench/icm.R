# The R package's icm() on a data frame in memory against the batch command on the same
# file: a generated file of 20,000 samples x 300 taxon columns (Mediterranean families,
# seed 7, as the other benchmarks), the Mediterranean GIG, R-M1, the first test variable
# biological, every core. Each is run five times and the median kept.
#   Rscript bench/icm.R TORRENTIX_CLI GENSAMPLES [SAMPLES]
# with the package installed (./test.sh --r builds it; R CMD INSTALL build-r/torrentix).
args <- commandArgs(trailingOnly = TRUE)
if (length(args) < 2L) {
  stop("Usage: Rscript bench/icm.R TORRENTIX_CLI GENSAMPLES [SAMPLES]")
}
cli <- normalizePath(args[1L])
gensamples <- normalizePath(args[2L])
samples <- if (length(args) >= 3L) as.integer(args[3L]) else 20000L
suppressPackageStartupMessages(library(torrentix))

folder <- tempfile("icm-bench")
dir.create(folder)
file <- file.path(folder, "samples.txt")
status <- system2(gensamples, c("--region", "mediterranean", "--samples", samples, "--families", "300",
                                "--seed", "7", "--output", shQuote(file)))
stopifnot(status == 0L)

median_seconds <- function(run) {
  run() # once to warm the caches and open the taxa database
  stats::median(vapply(1:5, function(i) system.time(run())[["elapsed"]], numeric(1)))
}
quietly <- function(expr) withCallingHandlers(expr, torrentix_note = function(w) invokeRestart("muffleWarning"))

batch <- median_seconds(function() {
  system2(cli, c("--gig", "Med", "--type", "R-M1", "--bio", "1", "--force", shQuote(file)),
          stdout = FALSE, stderr = FALSE)
})
frame <- quietly(read_samples(file))
in_memory <- median_seconds(function() quietly(icm(frame, "Med", "R-M1", biological = 1)))
from_file <- median_seconds(function() quietly(icm(file, "Med", "R-M1", biological = 1)))
reading <- median_seconds(function() quietly(read_samples(file)))

cat(sprintf("file: %d samples x 300 taxon columns, %.1f MB; data frame %.1f MB\n", samples,
            file.size(file) / 1e6, as.numeric(utils::object.size(frame)) / 1e6))
cat(sprintf("batch command (end to end, a process of its own): %6.0f ms\n", 1000 * batch))
cat(sprintf("icm() on the data frame:                           %6.0f ms (%.2f x the batch command)\n",
            1000 * in_memory, in_memory / batch))
cat(sprintf("icm() on the file:                                 %6.0f ms (%.2f x)\n", 1000 * from_file,
            from_file / batch))
cat(sprintf("read_samples() of the file:                        %6.0f ms\n", 1000 * reading))
unlink(folder, recursive = TRUE)
