#' Intercalibration Common Metrics, STAR_ICMi and GIG ICMi of samples
#'
#' One run of the method over a sample file or a data frame, with the options of the batch
#' command `torrentix-cli`: the metrics of the GIG normalised against the reference samples
#' of the data, both indices, their regressions against the test variables and, with
#' `bootstrap`, the 95 % percentile bootstrap intervals. The numbers are those of the batch
#' command's table (`--table`) and intervals files, to the last digit.
#'
#' @param samples A data frame in the sample file's layout (the code, the sample name, the
#'   class, three test variables, then one column per taxon; as [read_samples()] gives it),
#'   a long data frame of samples, taxa and abundances (then with `test_variables`), or the
#'   path of a sample file. Columns may be numbers, texts (read as the sample file's cells
#'   are: "12" is 12, "NA" or "+" is read as its leading number, else 0, and noted) or
#'   factors.
#' @param gig The GIG: "Alpine", "Central / Baltic", "Eastern continental", "Mediterranean"
#'   or "Northern" (any case; blanks, "/" and "-" do not matter), their first three letters,
#'   or 0 to 4.
#' @param type A river-type code of the GIG, such as "R-M1" (see [icm_gigs()]).
#' @param test_variables For a long `samples`: the samples' code, name, class and up to three
#'   test variables, the first six columns of a sample file; its first column holds the codes
#'   that the long data frame's sample column names, and its order is the order of the samples.
#'   The taxa are the columns in the order of the taxon column's levels when it is a factor,
#'   else in the order they first appear (the order of the sums of a sample's families, and
#'   so the last digits of some values, follow the order of the columns, as in a file).
#' @param min The lower value of the normalisation of each test variable ("Min Value",
#'   `--min K=VALUE`, 0 by default): three numbers (`NA` for the default), or numbers named
#'   by the test variable's number or name, as `c("2" = 0.5)`.
#' @param observed_min Test variables (numbers 1 to 3, or names) whose smallest value is the
#'   lower value ("Observed Min", `--observed-min K`); they win over `min`.
#' @param biological Test variables whose upper value is the reference value of the
#'   reference samples ("Biological", `--bio K`).
#' @param unknown What to do with a taxon name that is neither a family nor a synonym of the
#'   taxa database, as `--unknown`: "abort" (the run is refused with every such name and
#'   what the sources say of it), "ignore" (the column is left out), "suggest" (the family
#'   of the first source that gives one) or "dictionary" (only the families of the database
#'   and the taxon dictionary). Each correction is a note.
#' @param taxa_map Your own answers to unknown names, applied first (`--taxa-map`): the path
#'   of a taxa-map file (a name, a TAB and a family or IGNORE per line), or a data frame of
#'   names and families.
#' @param bootstrap Replicates of the bootstrap intervals (`--bootstrap R`); 0 for none.
#' @param seed The seed of the bootstrap's random numbers (`--seed S`).
#' @param threads Threads for reading, the metrics and the bootstrap (`--threads N`); `NULL`
#'   for one per core. The results are the same with any number.
#' @param strict Refuse abundance cells that are not plain numbers, names the outputs cannot
#'   tell apart and lines after the blank line that ends the data (`--strict`).
#' @param decimal_comma Read "12,5" as 12.5 (`--decimal-comma`).
#' @param read_past_blank_lines Read the lines after a blank line inside the data too.
#' @param columns The long data frame's columns of the sample, the taxon and the abundance.
#' @param title The title of a data frame's data, line 1 of the sample file it stands for (by
#'   default its attribute `title`, else empty).
#' @param source What the results file and the messages call a data frame's data (by default
#'   the expression given as `samples`); a path names itself.
#' @param date,time The date and time lines of the results file; by default the engine's
#'   own, the short date and the time of the user's locale for dates (ISO 8601 under C).
#' @return An object of class `torrentix_run`, a list of
#'   \item{samples}{one row per sample kept, in the order of the data: the columns of the
#'     batch command's table (`CODE`, `SAMPLE`, `CLASS`, each test variable raw and
#'     normalised, the raw and the normalised metrics, `STAR_ICMi`, `GIG_ICMi`), then with
#'     `bootstrap` the intervals `STAR_lo`, `STAR_hi`, `GIG_lo`, `GIG_hi`.}
#'   \item{regressions}{one row per regression of the results file: `index` (STAR or GIG),
#'     `variable` (named as in the table's columns), `test_variable` (1 to 3), `n`, then
#'     `m`, `b` and `r2` (`NA` where the regression could not be computed), with `bootstrap`
#'     also `counted` and the ends `m_lo`, `m_hi`, `b_lo`, `b_hi`, `r2_lo`, `r2_hi`.}
#'   \item{taxa}{the record of the names (`NAME_taxa.tsv`): each taxon column's number,
#'     name, family, the source of the family, what the source knew and the family the
#'     metrics count it as.}
#'   \item{notes}{what the read and the run noted, also given as warnings.}
#'   \item{report}{the report the batch command prints.}
#'   \item{results}{the results file's bytes; see [write_results()].}
#'   \item{gig, type, rule, intervals}{the GIG, the river-type code, the normalisation rule
#'     ("median" or "75th") and the bootstrap's settings line.}
#' @examples
#' path <- system.file("extdata", "mediterranean.txt", package = "torrentix")
#' run <- icm(path, "Mediterranean", "R-M1", biological = 1, threads = 1)
#' run
#' head(run$samples[, c("CODE", "STAR_ICMi", "GIG_ICMi")])
#' @export
icm <- function(samples, gig, type, test_variables = NULL, min = NULL, observed_min = NULL,
                biological = NULL, unknown = c("abort", "ignore", "suggest", "dictionary"),
                taxa_map = NULL, bootstrap = 0, seed = 1, threads = NULL, strict = FALSE,
                decimal_comma = FALSE, read_past_blank_lines = FALSE,
                columns = c(sample = "sample", taxon = "taxon", abundance = "abundance"),
                title = NULL, source = NULL, date = NULL, time = NULL) {
  unknown <- match.arg(unknown)
  if (is.null(source)) {
    expression <- substitute(samples)
    source <- if (is.symbol(expression) || is.call(expression)) {
      deparse(expression, width.cutoff = 200L, nlines = 1L)
    } else {
      "data frame" # the data themselves, given through do.call()
    }
  }
  gig_type <- engine_result(engine_gig(enc2utf8(as.character(gig)[1L]), enc2utf8(as.character(type)[1L])))
  input <- sample_source(samples, test_variables, columns, source, title)
  names <- test_variable_names(input)
  now <- engine_date()
  settings <- list(
    gig = gig_type[1L], type = gig_type[2L],
    min = min_texts(min, names),
    observed_min = seq_len(3L) %in% test_variable_numbers(observed_min, names, "observed_min"),
    biological = seq_len(3L) %in% test_variable_numbers(biological, names, "biological"),
    unknown = unknown, taxa_map = taxa_map_setting(taxa_map),
    bootstrap = whole_number(bootstrap, "bootstrap", 0, 1e6), seed = whole_number(seed, "seed", 0, 2^53),
    threads = thread_count(threads), strict = isTRUE(strict), decimal_comma = isTRUE(decimal_comma),
    read_past_blank_lines = isTRUE(read_past_blank_lines),
    date = enc2utf8(if (is.null(date)) now[1L] else as.character(date)),
    time = enc2utf8(if (is.null(time)) now[2L] else as.character(time))
  )
  run <- engine_result(engine_run(taxa_database(), input, settings))
  run$taxa <- taxa_record(run$taxa)
  gigs <- icm_gigs()
  run$gig <- gigs$gig[match(gig_type[1L], gigs$number)]
  run$type <- gigs$type[gigs$number == gig_type[1L]][gig_type[2L] + 1L]
  tell_notes(run$notes)
  structure(run, class = "torrentix_run")
}

# The test variables' names as the data name them (for options given by name).
test_variable_names <- function(input) {
  if (!is.null(input$header)) {
    return(trimws(input$header[4:6], whitespace = " "))
  }
  lines <- readLines(input$path, n = 2L, warn = FALSE, encoding = "UTF-8")
  header <- if (length(lines) == 2L) strsplit(lines[2L], "\t", fixed = TRUE)[[1L]] else character()
  trimws(c(header, "", "", "", "", "", "")[4:6], whitespace = " ")
}

# "2" as 2; a name as itself.
number_or_name <- function(x) {
  if (all(x %in% c("1", "2", "3"))) as.integer(x) else x
}

test_variable_numbers <- function(which, names, what) {
  if (is.null(which)) {
    return(integer())
  }
  numbers <- if (is.character(which)) match(which, names) else suppressWarnings(as.integer(which))
  if (anyNA(numbers) || any(!numbers %in% 1:3)) {
    refuse(what, ": the test variable must be 1, 2 or 3 (or the name of one), not \"",
           which[is.na(numbers) | !numbers %in% 1:3][1L], "\".", call = NULL)
  }
  numbers
}

# "Min Value" of each test variable as the text the options step holds.
min_texts <- function(min, names) {
  texts <- c("0", "0", "0")
  if (is.null(min)) {
    return(texts)
  }
  at <- if (is.null(names(min))) seq_along(min) else test_variable_numbers(number_or_name(names(min)), names, "min")
  if (length(at) > 3L) {
    refuse("min: three values at most, one per test variable.", call = NULL)
  }
  values <- as.character(min)
  numeric <- suppressWarnings(as.numeric(values))
  if (is.numeric(min)) {
    values <- ifelse(is.na(min), "0", format_shortest(as.numeric(min)))
  } else if (any(is.na(numeric) & !is.na(values))) {
    refuse("min: \"", values[is.na(numeric) & !is.na(values)][1L], "\" is not a number.", call = NULL)
  }
  texts[at] <- ifelse(is.na(values), "0", values)
  texts
}

whole_number <- function(x, what, lowest, highest) {
  if (!is.numeric(x) || length(x) != 1L || is.na(x) || x != round(x) || x < lowest || x > highest) {
    refuse(what, " expects a whole number from ", format(lowest, scientific = FALSE), " to ",
           format(highest, scientific = FALSE), ".", call = NULL)
  }
  x
}

taxa_map_setting <- function(taxa_map) {
  if (is.null(taxa_map)) {
    return(NULL)
  }
  if (is_path(taxa_map)) {
    if (!file.exists(taxa_map)) {
      refuse("The taxa map ", taxa_map, " does not exist.", call = NULL)
    }
    return(list(path = enc2utf8(path.expand(taxa_map))))
  }
  if (!is.data.frame(taxa_map) || ncol(taxa_map) < 2L) {
    refuse("taxa_map must be the path of a taxa map or a data frame of names and families.", call = NULL)
  }
  names <- enc2utf8(as.character(taxa_map[[1L]]))
  families <- enc2utf8(as.character(taxa_map[[2L]]))
  if (any(grepl("[\t\r\n]", c(names, families)))) {
    refuse("A name or family of taxa_map holds a TAB or a line break.", call = NULL)
  }
  list(path = NULL, text = paste0(paste(names, families, sep = "\t", collapse = "\n"), "\n"),
       name = "taxa_map")
}

# The record of the names as a data frame.
taxa_record <- function(text) {
  record <- utils::read.delim(text = text, comment.char = "#", colClasses = "character",
                              na.strings = "", encoding = "UTF-8", check.names = FALSE)
  record$column <- as.integer(record$column)
  attr(record, "settings") <- sub("^# ", "", strsplit(text, "\n", fixed = TRUE)[[1L]][1L])
  record
}

format_shortest <- function(x) {
  engine_shortest(as.numeric(x))
}
