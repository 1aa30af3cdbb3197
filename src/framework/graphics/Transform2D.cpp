#include "framework/graphics/Transform2D.h"

#include <cmath>

namespace Orvane {

namespace {

Matrix3 RotationMatrix(float angle) {
    Matrix3 r;
    const float c = std::cos(angle), s = std::sin(angle);
    r.m[0][0] = c;  r.m[0][1] = s;
    r.m[1][0] = -s; r.m[1][1] = c;
    return r;
}

Matrix3 ScaleMatrix(float sx, float sy) {
    Matrix3 r;
    r.m[0][0] = sx;
    r.m[1][1] = sy;
    return r;
}

}  // namespace

Matrix3 Matrix3::operator*(const Matrix3& o) const {
    Matrix3 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[i][j] = m[i][0] * o.m[0][j] + m[i][1] * o.m[1][j] + m[i][2] * o.m[2][j];
    return r;
}

void Matrix3::Apply(float x, float y, float& outX, float& outY) const {
    outX = m[0][0] * x + m[0][1] * y + m[0][2];
    outY = m[1][0] * x + m[1][1] * y + m[1][2];
}

bool Matrix3::InverseAffine(Matrix3& out) const {
    const double a = m[0][0], b = m[0][1], c = m[0][2];
    const double d = m[1][0], e = m[1][1], f = m[1][2];
    const double det = a * e - b * d;
    if (!std::isfinite(det) || std::fabs(det) < 1e-12) return false;
    const double ia = e / det, ib = -b / det, id = -d / det, ie = a / det;
    out = Matrix3();
    out.m[0][0] = static_cast<float>(ia);
    out.m[0][1] = static_cast<float>(ib);
    out.m[0][2] = static_cast<float>(-(ia * c + ib * f));
    out.m[1][0] = static_cast<float>(id);
    out.m[1][1] = static_cast<float>(ie);
    out.m[1][2] = static_cast<float>(-(id * c + ie * f));
    return true;
}

void Transform2D::SwitchToMatrix() {
    if (form_ == Form::Matrix) return;
    matrix_ = Matrix();
    form_ = Form::Matrix;
}

void Transform2D::RotateRadians(float angle) {
    switch (form_) {
    case Form::Identity:
        form_ = Form::Rotation;
        rotation_ = angle;
        return;
    case Form::Rotation:
        rotation_ += angle;
        return;
    case Form::Scale:
        SwitchToMatrix();
        break;
    case Form::Matrix:
        break;
    }
    matrix_ = RotationMatrix(angle) * matrix_;
}

void Transform2D::RotateDegrees(float angle) {
    const float radians = angle * 3.1415927f / 180.0f;
    RotateRadians(radians);
}

void Transform2D::Scale(float sx, float sy) {
    switch (form_) {
    case Form::Identity:
        form_ = Form::Scale;
        scaleX_ = sx;
        scaleY_ = sy;
        return;
    case Form::Scale:
        scaleX_ *= sx;
        scaleY_ *= sy;
        return;
    case Form::Rotation:
        SwitchToMatrix();
        break;
    case Form::Matrix:
        break;
    }
    matrix_ = ScaleMatrix(sx, sy) * matrix_;
}

void Transform2D::Translate(float tx, float ty) {
    SwitchToMatrix();
    Matrix3 t;
    t.m[0][2] = tx;
    t.m[1][2] = ty;
    matrix_ = t * matrix_;
}

Matrix3 Transform2D::Matrix() const {
    switch (form_) {
    case Form::Identity: return Matrix3();
    case Form::Rotation: return RotationMatrix(rotation_);
    case Form::Scale: return ScaleMatrix(scaleX_, scaleY_);
    case Form::Matrix: break;
    }
    return matrix_;
}

}  // namespace Orvane
