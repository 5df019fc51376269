#!/usr/bin/env python3
"""Writes a stand-in project of LAYERS layers for whole runs of the host.

    bench/wholerun/make-composition.py LAYERS OUT.json [--overlap] [--kinematic] [--no-floor] [--sparse]

A third of the layers are solids, a third solids with an elliptic mask and a
third shape layers with a star, spread over a 1920 x 1080 composition at
25 fps, 60 s long, above a floor. --overlap stacks the masked and shape
layers on top of each other (many touching multi-polygon bodies);
--kinematic gives every layer a keyed position; --no-floor leaves the floor
out, so that the layers fall freely and the run measures the export itself;
--sparse spreads the layers over a 3000 x 2400 composition instead.
"""
import json
import sys


def ellipse_mask(w, h):
    k = 0.5523
    rx, ry = w / 2, h / 2
    return {"name": "Ellipse", "shape": {"closed": True, "vertices": [
        [rx, 0, -rx * k, 0, rx * k, 0],
        [w, ry, 0, -ry * k, 0, ry * k],
        [rx, h, rx * k, 0, -rx * k, 0],
        [0, ry, 0, ry * k, 0, -ry * k]]}}


def star_contents():
    return [{"matchName": "ADBE Vector Group", "name": "Star Group", "contents": [
        {"matchName": "ADBE Vector Shape - Star", "name": "Polystar Path 1",
         "properties": {"ADBE Vector Star Points": 5, "ADBE Vector Star Inner Radius": 8,
                        "ADBE Vector Star Outer Radius": 18}},
        {"matchName": "ADBE Vector Graphic - Fill", "name": "Fill 1",
         "properties": {"ADBE Vector Fill Color": [1.0, 0.85, 0.1]}}]}]


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    overlap = "--overlap" in sys.argv
    kinematic = "--kinematic" in sys.argv
    count, out = int(args[0]), args[1]
    width, height = (3000, 2400) if "--sparse" in sys.argv else (1920, 1080)
    cols = max(1, int((count * (width - 80) / (height - 180)) ** 0.5))
    layers = []
    for i in range(count):
        x = 40 + (i % cols) * ((width - 80) / cols)
        y = 40 + (i // cols) * ((height - 180) / max(1, (count + cols - 1) // cols))
        kind = i % 3
        if overlap and kind:
            x, y = width / 2 + (i % 7) * 3, height / 2 + (i % 5) * 3
        position = [x, y]
        if kinematic:
            position = {"keys": [{"time": 0, "value": [x, y]}, {"time": 10, "value": [x + 50, y]}]}
        layer = {"id": i + 1, "name": "L%d" % (i + 1), "transform": {"position": position}}
        if kind == 2:
            layer.update({"type": "shape", "contents": star_contents()})
        else:
            layer.update({"type": "solid", "source": 1})
            if kind == 1:
                layer["masks"] = [ellipse_mask(20, 20)]
        layers.append(layer)
    if "--no-floor" not in sys.argv:
        layers.append({"id": count + 1, "name": "Floor", "type": "solid", "source": 2,
                           "transform": {"position": [width / 2, height - 20]}})
    project = {"format": "zolvar-standin-project", "activeItem": "Main",
               "footage": [{"id": 1, "name": "Piece", "kind": "solid", "width": 20, "height": 20},
                           {"id": 2, "name": "Floor", "kind": "solid", "width": width, "height": 40}],
               "compositions": [{"id": 10, "name": "Main", "width": width, "height": height,
                                 "frameRate": 25, "duration": 60, "layers": layers}]}
    with open(out, "w") as f:
        json.dump(project, f)


main()
