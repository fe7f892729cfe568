"""Building blocks of the development skin set: window model, painting and checks."""
