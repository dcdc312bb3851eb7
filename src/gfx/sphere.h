// A sphere about the origin with unit normals and texture coordinates, the
// +y axis through its poles, drawn as stacks - 1 triangle strips. It sets
// no colour, texture or enable state: the caller does.
#pragma once

void drawSphere(double radius, int slices, int stacks, double sScale, double tScale, double sOffset,
                double tOffset);
