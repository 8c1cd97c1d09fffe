// The class histogram, results list and scatter plot views live here.
