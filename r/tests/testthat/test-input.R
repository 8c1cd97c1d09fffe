# A data frame in any of its forms gives the numbers of the file it stands for.

mediterranean <- system.file("extdata", "mediterranean.txt", package = "torrentix")
from_file <- quiet_icm(mediterranean, "Mediterranean", "R-M1", biological = 1, bootstrap = 50)
wide <- read_samples(mediterranean)

expect_same_run <- function(run, reference = from_file) {
  expect_identical(run$samples, reference$samples)
  expect_identical(run$regressions, reference$regressions)
}

test_that("a wide data frame, a long one and a tibble give the file's numbers", {
  expect_same_run(quiet_icm(wide, "Mediterranean", "R-M1", biological = 1, bootstrap = 50))
  long <- long_of(wide)
  expect_same_run(quiet_icm(long, "Mediterranean", "R-M1", test_variables = wide[1:6], biological = 1,
                            bootstrap = 50))
  # In any order of rows, the taxa are the columns in the order of the factor's levels.
  shuffled <- long[rev(seq_len(nrow(long))), c("abundance", "taxon", "sample")]
  names(shuffled) <- c("n", "taxon", "site")
  shuffled$taxon <- factor(shuffled$taxon, levels = names(wide)[-(1:6)])
  expect_same_run(quiet_icm(shuffled, "Mediterranean", "R-M1", test_variables = wide[1:6], biological = 1,
                            bootstrap = 50, columns = c(sample = "site", abundance = "n")))
  skip_if_not_installed("tibble")
  expect_same_run(quiet_icm(tibble::as_tibble(wide), "Mediterranean", "R-M1", biological = 1, bootstrap = 50))
})

test_that("factors, texts of numbers and integers are read as the file's cells", {
  cells <- wide
  cells$CODE <- factor(cells$CODE)
  cells$CLASS <- as.character(cells$CLASS)
  cells$EQR_NAT <- ifelse(is.na(cells$EQR_NAT), "n.a.", format(cells$EQR_NAT, digits = 15))
  cells[[7]] <- factor(cells[[7]])
  cells[[8]] <- as.character(cells[[8]])
  whole <- vapply(cells[-(1:8)], function(v) all(v == round(v)), logical(1))
  cells[names(whole)[whole]] <- lapply(cells[names(whole)[whole]], as.integer)
  expect_same_run(quiet_icm(cells, "Mediterranean", "R-M1", biological = 1, bootstrap = 50))
})

test_that("an NA cell is noted and read as 0, and refused when strict", {
  cells <- wide
  cells[[10]][3] <- NA
  zero <- wide
  zero[[10]][3] <- 0
  notes <- character()
  run <- withCallingHandlers(icm(cells, "Mediterranean", "R-M1", biological = 1, threads = 2),
                             torrentix_note = function(w) {
                               notes <<- c(notes, conditionMessage(w))
                               invokeRestart("muffleWarning")
                             })
  expect_match(notes, "line 5, column 10 \\(.*\\): \"NA\" read as 0", all = FALSE)
  expect_identical(run$samples, quiet_icm(zero, "Mediterranean", "R-M1", biological = 1)$samples)
  expect_error(icm(cells, "Mediterranean", "R-M1", strict = TRUE),
               "1 abundance cell(s) are not plain numbers", fixed = TRUE, class = "torrentix_error")
})

test_that("names with accents and blanks keep their texts and give identifiers of the table", {
  cells <- wide
  names(cells)[6] <- "R\u00edo km"
  names(cells)[7] <- "Baetis rhodani"
  cells$SAMPLE[1] <- "R\u00edo J\u00facar 1"
  run <- quiet_icm(cells, "Mediterranean", "R-M1", biological = 1, unknown = "dictionary")
  expect_true(all(c("Rio_km_raw", "Rio_km_norm") %in% names(run$samples)))
  expect_identical(run$samples$SAMPLE[1], "R\u00edo J\u00facar 1")
  expect_identical(run$taxa$name[1], "Baetis rhodani")
  expect_identical(run$taxa$source[1], "taxon dictionary")
  expect_identical(run$samples$Rio_km_norm, from_file$samples$ALT_M_norm)
})

test_that("read_samples keeps every column as written and tells what it found", {
  genera <- read_samples(system.file("extdata", "mediterranean-genera.txt", package = "torrentix"))
  expect_identical(dim(genera), dim(wide))
  expect_identical(names(genera)[7], "Dugesia sp.")
  expect_identical(unname(as.list(genera[-(1:6)])), unname(as.list(wide[-(1:6)])))
  unknown <- attr(genera, "unknown_names")
  expect_identical(unknown$name[unknown$column == 7], "Dugesia sp.")
  expect_match(unknown$evidence[1], "taxon dictionary")
  expect_match(attr(genera, "title"), "genus and species")
  doubtful <- tempfile(fileext = ".txt")
  lines <- readLines(mediterranean)
  lines[4] <- sub("\t([0-9]+)$", "\t>100", lines[4])
  writeLines(lines, doubtful)
  cells <- attr(read_samples(doubtful), "doubtful_cells")
  expect_identical(cells$text, ">100")
  expect_identical(cells$line, 4L)
  expect_identical(attr(cells, "total"), 1L)
})

test_that("resolve_taxa tells each name's family, source, guess and dispute", {
  resolved <- resolve_taxa(c("Baetidae", "Ephemera danica", "Potamopyrgus antipodarum", "Hydrobius novus",
                             "Simuliidax", "Ephemera"),
                           taxa_map = data.frame(name = "Ephemera", family = "EPHEMERIDAE"))
  expect_identical(resolved$family, c("BAETIDAE", "EPHEMERIDAE", "TATEIDAE", NA, "SIMULIIDAE", "EPHEMERIDAE"))
  expect_identical(resolved$source[c(1, 2, 5, 6)],
                   c("taxa database", "taxon dictionary", "prefix rule (a guess)", "taxa map"))
  expect_identical(resolved$counted_as[3], "HYDROBIIDAE")
  expect_identical(resolved$guess, c(FALSE, FALSE, FALSE, FALSE, TRUE, FALSE))
  expect_identical(resolved$disputed, c(FALSE, FALSE, FALSE, TRUE, FALSE, FALSE))
  expect_match(resolved$said[4], "two families: HYDROPHILIDAE")
})

test_that("print, summary, as.data.frame and plot show the run", {
  expect_output(print(from_file), "STAR +EQR_NAT +116 +0.739")
  expect_identical(as.data.frame(from_file), from_file$samples)
  expect_identical(unname(summary(from_file)$indices[, "n"]), c(120, 120))
  file <- tempfile(fileext = ".pdf")
  grDevices::pdf(file)
  drawn <- plot(from_file, index = "GIG", variable = "URBAN")
  grDevices::dev.off()
  expect_identical(drawn$n, 119L)
  expect_error(plot(from_file, variable = 4), class = "torrentix_error")
})

test_that("icm_gigs lists every GIG and river type", {
  gigs <- icm_gigs()
  expect_identical(nrow(gigs), 2L + 5L + 6L + 5L + 8L)
  expect_identical(gigs$type[gigs$gig == "Northern"][8], "R-N8")
})
