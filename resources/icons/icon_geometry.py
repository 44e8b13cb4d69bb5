"""Quorvel's icon, a globe under a magnifying glass, as geometry on a unit square (0..1, y
downwards). The window's pixel icons (draw-icon.py beside this file) and the desktop's scalable
icon (packaging/icons/draw-icons.py) are both drawn from it."""

import math

# The globe: blue sea with green land inside a navy rim, crossed by a grid of meridians and
# parallels every GRID_STEP.
GLOBE_CX, GLOBE_CY, GLOBE_R = 0.42, 0.42, 0.38
RIM = 0.90  # the sea ends at 0.90 of the radius; the navy rim takes the rest
GRID_STEP = math.pi / 4
GRID_HALF_WIDTH = 0.07  # radians either side of a grid line: one pixel wide at 32x32

# Land lies where sin(LON_WAVES lon + LON_PHASE) + cos(LAT_WAVES lat - LAT_PHASE) > THRESHOLD.
LAND_LON_WAVES, LAND_LON_PHASE = 3.0, 1.2
LAND_LAT_WAVES, LAND_LAT_PHASE = 2.0, 0.5
LAND_THRESHOLD = 1.05

# The magnifier: the lens shows the globe magnified and one step brighter, inside a grey ring
# (from LENS_R - 0.01 to LENS_R + 0.02) and a black one (to LENS_R + 0.045); the handle runs to
# the lower right corner, maroon inside black.
LENS_CX, LENS_CY, LENS_R = 0.66, 0.66, 0.20
LENS_ZOOM = 1 / 0.6
LENS_INNER = LENS_R - 0.01
GRAY_RING_OUTER = LENS_R + 0.02
BLACK_RING_OUTER = LENS_R + 0.045
HANDLE_START = LENS_R + 0.02  # along the diagonal from the lens centre
HANDLE_END, HANDLE_HALF, HANDLE_CORE_HALF = 0.50, 0.075, 0.035


def is_land(lon, lat):
    return (math.sin(LAND_LON_WAVES * lon + LAND_LON_PHASE)
            + math.cos(LAND_LAT_WAVES * lat - LAND_LAT_PHASE)) > LAND_THRESHOLD
