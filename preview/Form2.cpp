// Replaced by the preview window.
