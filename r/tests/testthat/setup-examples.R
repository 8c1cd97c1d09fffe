# The five example files, with the GIG, river type and options of the batch command's
# golden outputs (--bio 1 --table --bootstrap 1000 --seed 1), which the package's assembly
# copies into golden/.
examples <- data.frame(
  name = c("alpine", "central-baltic", "eastern-continental", "mediterranean", "northern"),
  gig = c("Alpine", "Central / Baltic", "Eastern continental", "Mediterranean", "Northern"),
  type = c("R-A2", "R-C3", "R-E4", "R-M1", "R-N2"),
  stringsAsFactors = FALSE
)

# A copy of an example file in a folder of its own, as the batch command's tests run it.
example_copy <- function(name) {
  folder <- tempfile("example")
  dir.create(folder)
  path <- file.path(folder, paste0(name, ".txt"))
  file.copy(system.file("extdata", paste0(name, ".txt"), package = "torrentix"), path)
  path
}

quiet_icm <- function(...) {
  withCallingHandlers(icm(..., threads = 2), torrentix_note = function(w) invokeRestart("muffleWarning"))
}

# A table of the engine (read.delim with every cell as text) and a run's values, cell by
# cell as the engine writes them: numbers in their shortest form, a missing value empty.
cells_of <- function(values) {
  if (is.double(values)) {
    text <- torrentix:::format_shortest(values)
    text[is.na(text)] <- ""
    return(text)
  }
  as.character(values)
}

read_cells <- function(path) {
  utils::read.delim(path, colClasses = "character", comment.char = "#", na.strings = character(),
                    check.names = FALSE, encoding = "UTF-8")
}

expect_same_cells <- function(run_table, file_table, columns = names(file_table)) {
  for (column in columns) {
    expect_identical(cells_of(run_table[[column]]), file_table[[column]], label = column)
  }
}

# The samples of a sample file as a long table of its non-zero abundances.
long_of <- function(wide) {
  taxa <- names(wide)[-(1:6)]
  cells <- lapply(seq_along(taxa), function(j) {
    present <- which(wide[[6 + j]] != 0)
    data.frame(sample = wide[[1]][present], taxon = rep(taxa[j], length(present)),
               abundance = wide[[6 + j]][present], stringsAsFactors = FALSE)
  })
  do.call(rbind, cells)
}

# The batch command named by TORRENTIX_CLI (./test.sh --r names the one it builds), else none.
batch_command <- function() {
  cli <- Sys.getenv("TORRENTIX_CLI")
  if (!nzchar(cli) || !file.exists(cli)) {
    skip("No batch command to compare with (TORRENTIX_CLI).")
  }
  cli
}
