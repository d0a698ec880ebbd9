"""Renders the design loop's result as VTK's Tecplot reader loads it from
gridplot's file: the regenerated bulb with the trimmed keel and wing, whole
from starboard above, and the two junctions close up (the keel's from
above, the wing's from below). Each view has its title and an axes triad
in the suite's axes; the captions say that the networks are the starboard
half. Needs a display: check_design_loop.py runs it under Xvfb when there
is none.

Usage: render_junction.py <Tecplot file> <PNG file>"""
import math
import sys

import vtk

COLOURS = [(0.80, 0.80, 0.78), (0.35, 0.55, 0.85), (0.95, 0.60, 0.25)]   # bulb, keel, wing
COLOUR_NAMES = ["grey", "blue", "orange"]
# viewport, focal point, camera position (x aft, y up, z to starboard), title lines
VIEWS = [((0.0, 0.525, 1.0, 1.0), (1.0, -0.75, 0.2), (-0.9, 0.9, 2.6),
          ["The whole result, from forward, starboard and above"]),
         ((0.0, 0.05, 0.5, 0.525), (0.85, -0.75, 0.0), (0.15, 0.05, 1.35),
          ["Keel junction, from starboard and above", "the bulb's row 1 on the keel's cut row"]),
         ((0.5, 0.05, 1.0, 0.525), (1.45, -1.0, 0.2), (2.5, -2.1, 1.3),
          ["Wing junction, from aft, starboard and below",
           "the bulb's two middle rows (the slit) on the wing's cut row"])]
CAPTION = (0.0, 0.0, 1.0, 0.05)   # the strip under the views
WIDTH, HEIGHT = 1600, 1200
INSET = 0.3   # the axes triad's share of its view's height


def text(renderer, lines, x, y, size, bold=False, right=False, centred=False):
    """Lines of text hanging from (x, y) in the renderer's normalised
    viewport (their right end or their middle there with right or centred),
    on a pale ground; the first line bold with bold."""
    actor = vtk.vtkTextActor()
    actor.SetInput("\n".join(lines))
    prop = actor.GetTextProperty()
    prop.SetFontSize(size)
    prop.SetColor(0.0, 0.0, 0.0)
    prop.SetBold(bold)
    prop.SetBackgroundColor(1.0, 1.0, 1.0)
    prop.SetBackgroundOpacity(0.75)
    prop.SetVerticalJustificationToTop()
    if right:
        prop.SetJustificationToRight()
    if centred:
        prop.SetJustificationToCentered()
    actor.GetPositionCoordinate().SetCoordinateSystemToNormalizedViewport()
    actor.GetPositionCoordinate().SetValue(x, y)
    renderer.AddViewProp(actor)


def triad(viewport, camera):
    """An axes triad in a box in the lower right corner of a view, turned as
    its camera, with the names of the axes under it."""
    x0, y0, x1, y1 = viewport
    h = INSET * (y1 - y0)
    inset = vtk.vtkRenderer()
    inset.SetViewport(x1 - 1.2 * h * HEIGHT / WIDTH, y0, x1, y0 + h)
    inset.SetLayer(1)
    inset.PreserveColorBufferOff()
    inset.SetBackground(0.94, 0.94, 0.94)
    inset.InteractiveOff()
    axes = vtk.vtkAxesActor()
    axes.SetShaftTypeToCylinder()
    for caption in (axes.GetXAxisCaptionActor2D(), axes.GetYAxisCaptionActor2D(), axes.GetZAxisCaptionActor2D()):
        caption.GetTextActor().SetTextScaleModeToNone()
        prop = caption.GetCaptionTextProperty()
        prop.SetFontSize(18)
        prop.SetColor(0.0, 0.0, 0.0)
        prop.ShadowOff()
        prop.ItalicOff()
    inset.AddActor(axes)
    text(inset, ["x aft, y up, z starboard"], 0.5, 0.14, 16, centred=True)
    focal, position = camera.GetFocalPoint(), camera.GetPosition()
    d = [p - f for p, f in zip(position, focal)]
    n = math.sqrt(sum(c * c for c in d))
    view = inset.GetActiveCamera()
    view.SetFocalPoint(0.4, 0.3, 0.4)
    view.SetPosition(*(f + 5.0 * c / n for f, c in zip((0.4, 0.3, 0.4), d)))
    view.SetViewUp(*camera.GetViewUp())
    inset.ResetCameraClippingRange()
    return inset


def main():
    reader = vtk.vtkTecplotReader()
    reader.SetFileName(sys.argv[1])
    reader.Update()
    out = reader.GetOutput()
    zones = []
    zmin, zmax = math.inf, -math.inf
    for b in range(out.GetNumberOfBlocks()):
        grid = out.GetBlock(b)
        ni, nj, _ = grid.GetDimensions()
        bounds = grid.GetBounds()
        zmin, zmax = min(zmin, bounds[4]), max(zmax, bounds[5])
        name = out.GetMetaData(b).Get(vtk.vtkCompositeDataSet.NAME())
        zones.append(f"{COLOUR_NAMES[b % len(COLOUR_NAMES)]}: {name} ({ni} x {nj} points)")
    window = vtk.vtkRenderWindow()
    window.SetOffScreenRendering(1)
    window.SetSize(WIDTH, HEIGHT)
    window.SetNumberOfLayers(2)
    for k, (viewport, focal, position, title) in enumerate(VIEWS):
        renderer = vtk.vtkRenderer()
        renderer.SetViewport(*viewport)
        renderer.SetBackground(1.0, 1.0, 1.0)
        for b in range(out.GetNumberOfBlocks()):
            surface = vtk.vtkStructuredGridGeometryFilter()
            surface.SetInputData(out.GetBlock(b))
            mapper = vtk.vtkPolyDataMapper()
            mapper.SetInputConnection(surface.GetOutputPort())
            mapper.ScalarVisibilityOff()
            actor = vtk.vtkActor()
            actor.SetMapper(mapper)
            actor.GetProperty().SetColor(COLOURS[b % len(COLOURS)])
            actor.GetProperty().EdgeVisibilityOn()
            actor.GetProperty().SetEdgeColor(0.1, 0.1, 0.1)
            renderer.AddActor(actor)
        camera = renderer.GetActiveCamera()
        camera.SetFocalPoint(*focal)
        camera.SetPosition(*position)
        camera.SetViewUp(0.0, 1.0, 0.0)
        renderer.ResetCameraClippingRange()
        text(renderer, title[:1], 0.01, 0.985, 20, bold=True)
        if len(title) > 1:
            text(renderer, title[1:], 0.01, 0.93, 18)
        if k == 0:
            text(renderer, [f"{reader.GetDataTitle()} ({sys.argv[1].rsplit('/', 1)[-1]})"] + zones,
                 0.99, 0.985, 18, right=True)
        window.AddRenderer(renderer)
        window.AddRenderer(triad(viewport, camera))
    caption = vtk.vtkRenderer()
    caption.SetViewport(*CAPTION)
    caption.SetBackground(1.0, 1.0, 1.0)
    text(caption, ["The starboard half of the bulb, keel and wing: every point has z from "
                   f"{round(zmin, 6) + 0.0:.2f} to {zmax:.2f} (z to starboard); the port half is their "
                   "mirror image in the plane z = 0."], 0.01, 0.8, 20)
    window.AddRenderer(caption)
    window.Render()
    image = vtk.vtkWindowToImageFilter()
    image.SetInput(window)
    image.Update()
    png = vtk.vtkPNGWriter()
    png.SetFileName(sys.argv[2])
    png.SetInputConnection(image.GetOutputPort())
    png.Write()
    print(f"{out.GetNumberOfBlocks()} zones, {window.GetSize()[0]} x {window.GetSize()[1]} pixels")


if __name__ == "__main__":
    main()
