"""One module per skinned window; each offers window() -> skinkit.model.Window."""

WINDOWS = ("main", "button_page", "advance_setting", "select_macro", "key", "warn")
