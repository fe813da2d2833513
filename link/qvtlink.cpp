// Placeholder translation unit until the library's sources land.
