#!/usr/bin/python3
# Thumbnails each FILE through GNOME's thumbnail factory, as a file manager does (in its
# bubblewrap sandbox where available), and prints "NAME: WIDTHxHEIGHT" or "NAME: failed".
# usage: thumbnail-factory.py FILE...   (exit 77: the factory is not installed)
import os
import sys

try:
    import gi
    gi.require_version("GnomeDesktop", "3.0")
    from gi.repository import GnomeDesktop, Gio, GLib
except (ImportError, ValueError) as e:
    print("GNOME's thumbnail factory is missing: %s" % e, file=sys.stderr)
    sys.exit(77)

factory = GnomeDesktop.DesktopThumbnailFactory.new(GnomeDesktop.DesktopThumbnailSize.NORMAL)
for path in sys.argv[1:]:
    file = Gio.File.new_for_path(path)
    mime = file.query_info("standard::content-type", 0, None).get_content_type()
    try:
        picture = factory.generate_thumbnail(file.get_uri(), mime)
        result = "%dx%d" % (picture.get_width(), picture.get_height())
    except GLib.Error:
        result = "failed"
    print("%s: %s" % (os.path.basename(path), result), flush=True)
