"""Renders the design loop's result as VTK's Tecplot reader loads it from
gridplot's file: the regenerated bulb with the trimmed keel and wing, whole
from starboard above, and the two junctions close up (the keel's from
above, the wing's from below). Needs a display: check_design_loop.py runs
it under Xvfb when there is none.

Usage: render_junction.py <Tecplot file> <PNG file>"""
import sys

import vtk

COLOURS = [(0.80, 0.80, 0.78), (0.35, 0.55, 0.85), (0.95, 0.60, 0.25)]   # bulb, keel, wing
# viewport, focal point, camera position (x aft, y up, z to starboard)
VIEWS = [((0.0, 0.5, 1.0, 1.0), (1.0, -0.75, 0.2), (-0.9, 0.9, 2.6)),
         ((0.0, 0.0, 0.5, 0.5), (0.85, -0.75, 0.0), (0.15, 0.05, 1.35)),
         ((0.5, 0.0, 1.0, 0.5), (1.45, -1.0, 0.2), (2.5, -2.1, 1.3))]


def main():
    reader = vtk.vtkTecplotReader()
    reader.SetFileName(sys.argv[1])
    reader.Update()
    out = reader.GetOutput()
    window = vtk.vtkRenderWindow()
    window.SetOffScreenRendering(1)
    window.SetSize(1600, 1200)
    for viewport, focal, position in VIEWS:
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
        window.AddRenderer(renderer)
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
