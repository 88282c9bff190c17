// Random vectors with a given mean and covariance from any univariate generator:
// the covariance is factored once into its lower Cholesky factor L, and each
// observation is L z + mean, z holding one fresh value per component. An
// object holds exactly the fields of its interface, since callers allocate it
// by that size; drawing many observations at once (olvend::ObservationRows)
// keeps what it needs beyond them with the caller.
#pragma once

#include <cstdint>
#include <memory>

#include "generators/value_uni.h"
#include "linalg/matrix.h"
#include "linalg/vector.h"
#include "platform/export.h"

namespace olvend {
class ObservationRows;
}

class WB_EXPORT TCValueMulti {
 public:
  // Copies the mean and the covariance and borrows the generator, which the
  // caller keeps alive and deletes. Throws EOutOfMemory when storage runs out and
  // Exception for a covariance that is not positive definite or holds an entry
  // that is not finite.
  TCValueMulti(Vector* mean, Matrix* covariance, TCValueUni* generator);
  ~TCValueMulti();
  TCValueMulti(const TCValueMulti&) = delete;
  TCValueMulti& operator=(const TCValueMulti&) = delete;

  // One observation; the new vector belongs to the caller.
  Vector* CValueMulti();
  // The size of the mean vector given at construction.
  std::int32_t DimVector();
  // Writes the factor L to the standard output stream.
  void Display();

 private:
  // Reads the factor, the mean and the generator.
  friend class olvend::ObservationRows;

  std::int32_t dimension_;
  std::unique_ptr<Vector> mean_;
  std::unique_ptr<Matrix> covariance_;
  std::unique_ptr<Matrix> factor_;
  TCValueUni* generator_ = nullptr;  // borrowed
};
