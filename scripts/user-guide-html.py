#!/usr/bin/env python3
"""Builds the user guide as one HTML page with its pictures, for the program's help commands.

usage: user-guide-html.py GUIDE.md OUTDIR
"""
import html
import pathlib
import shutil
import sys

source = pathlib.Path(sys.argv[1])
out = pathlib.Path(sys.argv[2])
out.mkdir(parents=True, exist_ok=True)
text = source.read_text(encoding="utf-8")
try:
    import markdown
    body = markdown.markdown(text, extensions=["tables", "fenced_code", "toc"])
except ImportError:
    # Without python3-markdown the guide is still readable, as plain text.
    print("user-guide-html: python3-markdown is missing; the guide is written as plain text", file=sys.stderr)
    body = "<pre>" + html.escape(text) + "</pre>"
page = f"""<!DOCTYPE html>
<html lang="ru"><head><meta charset="utf-8"><title>Тестер QEL: руководство</title>
<style>body{{font-family:sans-serif;max-width:60em;margin:1em auto;padding:0 1em;line-height:1.4}}
img{{max-width:100%;border:1px solid #ccc}}table{{border-collapse:collapse}}td,th{{border:1px solid #ccc;padding:2px 6px}}
code,pre{{background:#f4f4f4}}</style></head><body>
{body}
</body></html>
"""
(out / "user-guide.html").write_text(page, encoding="utf-8")
for picture in source.parent.glob("*.png"):
    shutil.copy2(picture, out / picture.name)
