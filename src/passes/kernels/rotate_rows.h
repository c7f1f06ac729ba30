#pragma once
// Source coordinates of one output row of the rotation, from terms computed
// once per column (dx * cos, dx * sin) and once per row (dy * sin, dy * cos):
//   sx[i] = nearest(k * (columnCos[i] - rowSin)) + cx
//   sy[i] = nearest(k * (columnSin[i] + rowCos)) + cy
// in double precision, in exactly that order (no fused multiply-add), with
// nearest rounding halves away from zero. The same values as forming u and v
// per pixel, as long as |u| and |v| stay below 2^31.
namespace kernels {

struct RowTerms {
    double rowSin;
    double rowCos;
    double k;
    int cx;
    int cy;
};

void rotationSources(const double* columnCos, const double* columnSin, const RowTerms& row,
                     int count, int* sx, int* sy);

}  // namespace kernels
