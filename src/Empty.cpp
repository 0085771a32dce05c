// Placeholder for a folder whose sources are not written yet.
