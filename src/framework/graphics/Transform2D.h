// Transform2D: the placement of a rotated or scaled sprite. It keeps plain numbers (an angle or
// a pair of scale factors) while only one kind of operation has been applied, and switches to
// a full 3 x 3 matrix once the operations can no longer be expressed that simply.
#pragma once

namespace Orvane {

// Row-major 3 x 3 matrix; m[row][column]. Points are column vectors (x, y, 1).
struct Matrix3 {
    float m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

    static Matrix3 Identity() { return Matrix3(); }
    Matrix3 operator*(const Matrix3& o) const;
    // Applies the matrix to the point (x, y, 1).
    void Apply(float x, float y, float& outX, float& outY) const;
    // Inverse of the affine part (the last row is taken as 0, 0, 1); false when singular.
    bool InverseAffine(Matrix3& out) const;
};

class Transform2D {
public:
    enum class Form { Identity, Rotation, Scale, Matrix };

    Transform2D() = default;

    void RotateRadians(float angle);
    // angle x 3.1415927 / 180 in single precision, then RotateRadians.
    void RotateDegrees(float angle);
    void Scale(float sx, float sy);
    void Translate(float tx, float ty);

    // The full matrix (built from the plain numbers when the transform is still simple).
    Matrix3 Matrix() const;

    Form GetForm() const { return form_; }
    bool IsSimple() const { return form_ != Form::Matrix; }
    float GetRotation() const { return rotation_; }
    float GetScaleX() const { return scaleX_; }
    float GetScaleY() const { return scaleY_; }

private:
    void SwitchToMatrix();

    Form form_ = Form::Identity;
    float rotation_ = 0.0f;
    float scaleX_ = 1.0f;
    float scaleY_ = 1.0f;
    Matrix3 matrix_;
};

}  // namespace Orvane
