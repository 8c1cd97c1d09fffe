# Every refusal of the engine reaches R as a torrentix_error with the engine's words; none
# crashes R.

sample_file <- function(lines) {
  path <- tempfile(fileext = ".txt")
  writeBin(charToRaw(paste0(paste(lines, collapse = "\n"), "\n")), path)
  path
}
header <- "CODE\tSAMPLE\tCLASS\tEQR\tURBAN\tALT\tBAETIDAE\tHEPTAGENIIDAE"
rows <- sprintf("S%d\tsite %d\t%d\t0.%d\t%d\t%d\t%d\t%d", 1:12, 1:12, rep(c(6, 5, 3), 4), 1:12, 1:12, 1:12,
                1:12, 13:2)

expect_refusal <- function(expr, message) {
  error <- tryCatch(expr, torrentix_error = function(e) e)
  expect_s3_class(error, "torrentix_error")
  expect_identical(conditionMessage(error), message)
}

test_that("the reader's refusals of a file are the engine's messages", {
  path <- sample_file(c("title", header, "S1\tsite 1\t6\t0.1\t1\t1\t3,5\t13", rows[-1]))
  expect_refusal(icm(path, "Alp", "R-A1"),
                 paste0("The file ", path, " writes numbers with a decimal comma (\"3,5\" in line 3, ",
                        "column 7 (BAETIDAE); 1 cell)."))
  path <- sample_file(c("title", header, paste0(rows[1], "\t9"), rows[-1]))
  expect_refusal(icm(path, "Alp", "R-A1"),
                 paste0("Error #1. Too many columns in row 1 (file: ", path, "). Process aborted. File line 3 ",
                        "holds 9 cells; the header has 8."))
  path <- sample_file(c("title", sub("HEPTAGENIIDAE", "MYSTERYIDAE", header), rows))
  expect_error(icm(path, "Alp", "R-A1"), "unknown taxon \"MYSTERYIDAE\" (no family suggested)", fixed = TRUE,
               class = "torrentix_error")
  expect_refusal(icm(path, "Alp", "R-A1", unknown = "ignore", taxa_map = data.frame("MYSTERYIDAE", "NOSUCH")),
                 "The taxa map taxa_map, line 1: the family \"NOSUCH\" is not in the taxa database.")
  missing <- tempfile()
  expect_refusal(icm(missing, "Alp", "R-A1"), paste0("File not found: ", missing))
})

test_that("a data frame's faults are refused in the engine's words", {
  frame <- read_samples(sample_file(c("title", header, rows)))
  few <- frame
  few$CLASS <- 3L
  expect_refusal(icm(few, "Alp", "R-A1"),
                 "Number of Refs(6)+Highs(5) < 6. The file holds 0 Reference and 0 High samples.")
  negative <- frame
  negative$BAETIDAE[2] <- -1
  expect_refusal(icm(negative, "Alp", "R-A1", source = "survey"),
                 paste0("Error #2. The abundance \"-1\" in row 2, taxon column 1 is not a count or a density ",
                        "(file: survey). Process aborted. File line 4, column 7 (BAETIDAE)."))
  infinite <- frame
  infinite$BAETIDAE[2] <- Inf
  expect_refusal(icm(infinite, "Alp", "R-A1"),
                 "The abundance Inf in row 2 of the column BAETIDAE is not a count or a density.")
  tab <- frame
  tab$SAMPLE[1] <- "a\tb"
  expect_error(icm(tab, "Alp", "R-A1"), "holds a TAB or a line break", class = "torrentix_error")
  expect_error(icm(frame[1:5], "Alp", "R-A1"), "7 columns or more", class = "torrentix_error")
  empty <- frame[0, ]
  expect_refusal(icm(empty, "Alp", "R-A1", source = "none"),
                 "The file none has no data line (samples are expected from line 3 on).")
  zero <- frame
  zero[7:8] <- 0
  expect_refusal(icm(zero, "Alp", "R-A1", source = "zero"),
                 "The file zero holds no sample with a total abundance above 0.")
  expect_refusal(icm(frame, "Atlantic", "R-A1"),
                 paste0("Unknown GIG \"Atlantic\". The GIGs are Alpine, \"Central / Baltic\", \"Eastern ",
                        "continental\", Mediterranean and Northern (or Alp, Cen, Eas, Med, Nor, or 0 to 4)."))
  expect_error(icm(frame, "Alp", "R-A1", test_variables = frame[1:6]), "no column", class = "torrentix_error")
  expect_error(icm(frame, "Alp", "R-A1", biological = 4), "must be 1, 2 or 3", class = "torrentix_error")
  expect_error(icm(frame, "Alp", "R-A1", min = "abc"), "is not a number", class = "torrentix_error")
})
