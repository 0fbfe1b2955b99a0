#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Thumbnails each FILE through GNOME's thumbnail factory, as a file manager does (in its
# bubblewrap sandbox), and prints "NAME: WIDTHxHEIGHT" or "NAME: failed".
# usage: thumbnail-factory.py [--programs DIR] FILE...
# The factory's sandbox sees /usr alone: --programs lays DIR (a staged bin folder) over
# /usr/local/bin in an outer sandbox first. Exit 77: the factory or the sandbox cannot run here.
import os
import shutil
import subprocess
import sys


def cannot_run(reason):
    print("GNOME's thumbnail factory cannot run here: %s" % reason, file=sys.stderr)
    sys.exit(77)


args = sys.argv[1:]
if args[:1] == ["--programs"]:
    if not shutil.which("bwrap"):
        cannot_run("bubblewrap is missing (make test installs it)")
    outer = ["bwrap", "--dev-bind", "/", "/", "--bind", args[1], "/usr/local/bin"]
    probe = subprocess.run(outer + ["true"], capture_output=True, text=True)
    if probe.returncode != 0:
        cannot_run(probe.stderr.strip())
    env = dict(os.environ, PATH="/usr/local/bin:" + os.environ.get("PATH", "/usr/bin:/bin"))
    os.execvpe("bwrap", outer + [sys.executable, sys.argv[0]] + args[2:], env)

# A restricted XDG_DATA_DIRS must not hide the system's settings schemas from GIO.
os.environ.setdefault("GSETTINGS_SCHEMA_DIR", "/usr/share/glib-2.0/schemas")
try:
    import gi
    gi.require_version("GnomeDesktop", "3.0")
    from gi.repository import GnomeDesktop, Gio, GLib
except (ImportError, ValueError) as e:
    cannot_run("%s (make test installs gir1.2-gnomedesktop-3.0)" % e)

factory = GnomeDesktop.DesktopThumbnailFactory.new(GnomeDesktop.DesktopThumbnailSize.NORMAL)
for path in args:
    file = Gio.File.new_for_path(path)
    mime = file.query_info("standard::content-type", 0, None).get_content_type()
    try:
        picture = factory.generate_thumbnail(file.get_uri(), mime)
        result = "%dx%d" % (picture.get_width(), picture.get_height())
    except GLib.Error:
        result = "failed"
    print("%s: %s" % (os.path.basename(path), result), flush=True)
