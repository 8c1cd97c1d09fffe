# The five examples, as the batch command's golden outputs hold them: the table and the
# intervals cell by cell, to the last digit the files write, and the results file byte for
# byte but for the folder of the sample file.

for (k in seq_len(nrow(examples))) {
  e <- examples[k, ]
  test_that(paste(e$name, "gives the batch command's table, intervals and results file"), {
    path <- example_copy(e$name)
    run <- quiet_icm(path, e$gig, e$type, biological = 1, bootstrap = 1000, seed = 1,
                     date = "06/12/2026", time = "10:00")
    golden <- function(suffix) test_path("golden", paste0(e$name, suffix))

    table <- read_cells(golden("_table.tsv"))
    expect_identical(names(run$samples)[seq_along(table)], names(table))
    expect_same_cells(run$samples, table)

    ci <- read_cells(golden("_ci.tsv"))
    expect_same_cells(run$samples, ci)
    expect_identical(run$intervals, paste0(readLines(golden("_ci.tsv"), n = 1L), "\n"))

    regressions <- read_cells(golden("_ci_regressions.tsv"))
    expect_same_cells(run$regressions, regressions)

    out <- tempfile(fileext = "_OUT.txt")
    write_results(run, out)
    text <- rawToChar(readBin(out, "raw", file.size(out)))
    expect_identical(gsub(dirname(path), "FOLDER", text, fixed = TRUE, useBytes = TRUE),
                     rawToChar(readBin(golden("_OUT.txt"), "raw", file.size(golden("_OUT.txt")))))
  })
}

test_that("the date and time lines of the results file are the run's or the caller's", {
  run <- quiet_icm(example_copy("northern"), "Northern", "R-N2", date = "2026-12-07", time = "14:05:09")
  lines <- function(file) readLines(file, n = 4L)
  first <- tempfile()
  write_results(run, first)
  expect_identical(lines(first)[3:4], c("2026-12-07", "14:05:09"))
  second <- tempfile()
  write_results(run, second, date = "07.12.26", time = "14:05")
  expect_identical(lines(second)[3:4], c("07.12.26", "14:05"))
  expect_identical(readLines(second)[-(3:4)], readLines(first)[-(3:4)])
})

test_that("other options give the batch command's files, run on the same file", {
  cli <- batch_command()
  runs <- list(
    list(name = "mediterranean-genera", gig = "Med", type = "R-M1",
         args = c("--unknown", "dictionary", "--observed-min", "3", "--min", "2=0.5", "--bootstrap", "200",
                  "--seed", "7"),
         r = list(unknown = "dictionary", observed_min = 3, min = c("2" = 0.5), bootstrap = 200, seed = 7)),
    list(name = "central-baltic", gig = "Central-Baltic", type = "R-C1",
         args = c("--bio", "2", "--observed-min", "1", "--bootstrap", "100", "--seed", "3"),
         r = list(biological = "URBAN_%", observed_min = 1, bootstrap = 100, seed = 3)),
    list(name = "eastern-continental", gig = "Eas", type = "R-E1", args = character(), r = list())
  )
  for (one in runs) {
    path <- example_copy(one$name)
    status <- system2(cli, c("--gig", one$gig, "--type", one$type, "--table", "--threads", "2", one$args,
                             shQuote(path)), stdout = FALSE, stderr = FALSE)
    expect_identical(status, 0L)
    run <- do.call(quiet_icm, c(list(path, one$gig, one$type), one$r))
    beside <- function(suffix) sub("\\.txt$", suffix, path)
    expect_same_cells(run$samples, read_cells(beside("_table.tsv")))
    if ("--bootstrap" %in% one$args) {
      expect_same_cells(run$samples, read_cells(beside("_ci.tsv")))
      expect_same_cells(run$regressions, read_cells(beside("_ci_regressions.tsv")))
    }
    record <- read_cells(beside("_taxa.tsv"))
    expect_identical(run$taxa$family, ifelse(record$family == "", NA, record$family))
    expect_identical(run$taxa$counted_as, ifelse(record$counted_as == "", NA, record$counted_as))
    written <- readLines(beside("_OUT.txt"))
    out <- tempfile()
    write_results(run, out, date = written[3], time = written[4])
    expect_identical(readLines(out), written, label = one$name)
  }
})
