"""Builds the tree control's built-in image strips from Silk PNGs and text pixel art."""
