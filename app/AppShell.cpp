// Replaced by the shared services.
