# The sample data of icm() and read_samples() as the engine takes them: a path, or a data
# frame laid out as a sample file. The frame's vectors go to the engine as they are: it
# reads them a block of rows at a time as the lines of a sample file, so no second copy of
# the abundances is made.

is_path <- function(samples) {
  is.character(samples) && length(samples) == 1L && !is.na(samples)
}

path_source <- function(path) {
  if (!file.exists(path)) {
    refuse("File not found: ", path, call = NULL)
  }
  list(path = enc2utf8(path.expand(path)))
}

# Texts as UTF-8 (factors keep their codes, their levels are converted); other columns
# as they are.
utf8_column <- function(x) {
  if (is.factor(x)) {
    levels(x) <- enc2utf8(levels(x))
    return(x)
  }
  if (is.character(x)) {
    return(enc2utf8(x))
  }
  if (!is.numeric(x) && !is.logical(x)) {
    x <- as.character(x)
  }
  x
}

# An infinite abundance is no count or density (a file cannot write one).
refuse_infinite <- function(abundances, taxa) {
  for (j in seq_along(abundances)) {
    column <- abundances[[j]]
    # A sum is finite unless a value is infinite (or the values are too large to add up).
    if (is.double(column) && !is.finite(sum(column, na.rm = TRUE)) && any(is.infinite(column))) {
      refuse("The abundance ", abundances[[j]][is.infinite(abundances[[j]])][1L], " in row ",
             which(is.infinite(abundances[[j]]))[1L], " of the column ", taxa[j],
             " is not a count or a density.", call = NULL)
    }
  }
}

frame_source <- function(frame, name, title, taxon_columns, sample_columns, header) {
  refuse_infinite(taxon_columns, header[-(1:6)])
  list(
    path = NULL,
    name = enc2utf8(name),
    title = enc2utf8(if (is.null(title)) "" else as.character(title)[1L]),
    header = enc2utf8(header),
    rows = as.numeric(nrow(frame)),
    sample_columns = lapply(sample_columns, utf8_column),
    taxon_columns = lapply(taxon_columns, utf8_column)
  )
}

# A wide data frame: code, sample, class, three test variables, then one column per taxon.
wide_source <- function(samples, name, title) {
  samples <- as.data.frame(samples, stringsAsFactors = FALSE, optional = TRUE)
  if (ncol(samples) < 7L) {
    refuse("The data frame has ", ncol(samples), " columns: a sample file's layout needs the code, the ",
           "sample, the class, three test variables and at least one taxon (7 columns or more).",
           call = NULL)
  }
  columns <- unclass(samples)
  frame_source(samples, name, title,
               taxon_columns = columns[-(1:6)], sample_columns = columns[1:6],
               header = names(samples))
}

# A long data frame of (sample, taxon, abundance) rows, the samples' code, name, class and
# test variables in `test_variables`, the sample file's first six columns.
long_source <- function(samples, test_variables, columns, name, title) {
  test_variables <- as.data.frame(test_variables, stringsAsFactors = FALSE, optional = TRUE)
  if (ncol(test_variables) < 3L || ncol(test_variables) > 6L) {
    refuse("test_variables has ", ncol(test_variables), " columns: the code, the sample, the class and up ",
           "to three test variables are expected.", call = NULL)
  }
  while (ncol(test_variables) < 6L) {
    test_variables[[paste0("VAR", ncol(test_variables) - 2L)]] <- NA_real_
  }
  columns <- long_columns(columns)
  missing <- setdiff(columns, names(samples))
  if (length(missing) > 0L) {
    refuse("The long data frame has no column ", paste0("\"", missing, "\"", collapse = ", "),
           " (name them with columns = c(sample = , taxon = , abundance = )).", call = NULL)
  }
  codes <- as.character(test_variables[[1L]])
  key <- as.character(samples[[columns[["sample"]]]])
  sample <- match(key, codes)
  if (anyNA(sample)) {
    refuse("The sample \"", key[is.na(sample)][1L], "\" of the long data frame is not among the codes of ",
           "test_variables (its first column).", call = NULL)
  }
  if (anyDuplicated(codes)) {
    refuse("The code \"", codes[duplicated(codes)][1L], "\" stands twice in test_variables.", call = NULL)
  }
  # The taxa are the columns in the order of a factor's levels, else as they first appear:
  # the order of the sums of a sample's families, and so the last digits, follow it.
  taxa <- samples[[columns[["taxon"]]]]
  names <- if (is.factor(taxa)) levels(taxa) else unique(as.character(taxa))
  taxa <- as.character(taxa)
  taxon <- match(taxa, names)
  pair <- (sample - 1) * length(names) + taxon
  if (anyDuplicated(pair)) {
    twice <- which(duplicated(pair))[1L]
    refuse("The taxon \"", taxa[twice], "\" stands twice for the sample \"", key[twice],
           "\" in the long data frame.", call = NULL)
  }
  order <- order(sample, taxon)
  source <- frame_source(test_variables, name, title, taxon_columns = list(),
                         sample_columns = unclass(test_variables)[1:6],
                         header = c(names(test_variables)[1:6], names))
  source$abundance <- utf8_column(samples[[columns[["abundance"]]]])
  refuse_infinite(list(source$abundance), columns[["abundance"]])
  source$order <- as.integer(order - 1L)
  source$taxon <- as.integer(taxon - 1L)
  source$first_row <- as.integer(c(0L, cumsum(tabulate(sample, nbins = nrow(test_variables)))))
  source
}

long_columns <- function(columns) {
  defaults <- c(sample = "sample", taxon = "taxon", abundance = "abundance")
  if (!is.null(names(columns))) {
    defaults[names(columns)] <- columns
  }
  defaults
}

sample_source <- function(samples, test_variables, columns, name, title) {
  if (is_path(samples)) {
    if (!is.null(test_variables)) {
      refuse("test_variables goes with a long data frame, not with a file.", call = NULL)
    }
    return(path_source(samples))
  }
  if (!is.data.frame(samples)) {
    refuse("samples must be a data frame or the path of a sample file.", call = NULL)
  }
  if (is.null(title)) {
    title <- attr(samples, "title", exact = TRUE)
  }
  if (is.null(test_variables)) {
    wide_source(samples, name, title)
  } else {
    long_source(samples, test_variables, columns, name, title)
  }
}
